// CFFGLPlugin: the base of every plugin instance. The dispatcher forwards each
// request about an instance to one of the eighteen virtual operations below
// (destructor first, in slot order). Defaults: host-state operations store what
// the host sends, parameter-value and rendering operations answer failure,
// lifecycle operations succeed doing nothing.
//
// Contracts a derived class must meet, because the dispatcher relies on them:
//  - SetParameterFloat / SetParameterText accept every registered numeric /
//    text-valued parameter (a new instance gets each default through them and
//    is given up at the first refusal);
//  - InitGL answers 0 on success; otherwise ReleaseGL runs, then destruction;
//  - constructors and destructors make no GL call (the prototype instance is
//    made without a GL context).
#pragma once

#include <cstdint>
#include <string>

#include "framework/PluginManager.h"
#include "host/HostRecords.h"

class CFFGLPlugin : public CFFGLPluginManager {
 public:
  explicit CFFGLPlugin(bool capability16Supported);
  ~CFFGLPlugin() override;                                              // slot 0

  virtual uint32_t InitGL(const Viewport* hostViewport);                // 1: stores the viewport
  virtual uint32_t ReleaseGL();                                         // 2
  // 3: the parameter's value as text in a module-wide 16-byte buffer (valid
  // until the next call on any instance); null for an unregistered index.
  virtual const char* FormatParameterDisplay(uint32_t index);
  virtual uint32_t SetParameterFloat(uint32_t index, float value);      // 4: base refuses
  virtual uint32_t SetParameterText(uint32_t index, const char* value); // 5: base refuses
  virtual float GetParameterFloat(uint32_t index);                      // 6: base 0.0
  // 7: the base answers the failure code 0xFFFFFFFF in place of an address.
  virtual const char* GetParameterText(uint32_t index);
  virtual uint32_t RenderFrame(const FrameRenderRequest* request);      // 8: base refuses
  virtual uint32_t SetHostTime(double time);                            // 9
  virtual void SetBeat(float bpm, float phase);                         // 10
  virtual void SetHostIdentity(const char* name, const char* version);  // 11: null stored as ""
  virtual void SetAudioSampleRate(int32_t rate);                        // 12
  virtual uint32_t QueryInputStatus(uint32_t inputIndex);               // 13: 1 below maximumInputs
  virtual const char* GetAuxiliaryText();                               // 14: base null
  virtual uint32_t OnConnect();                                         // 15
  virtual uint32_t OnDisconnect();                                      // 16
  virtual uint32_t OnResize(const Viewport* hostViewport);              // 17: stores the viewport

  // Read and written by the dispatcher only.
  bool connected = false;
  // The instance FormatParameterDisplay reads; the dispatcher points it at the
  // instance itself when it creates one for the host.
  CFFGLPlugin* selfPlugin = nullptr;

 protected:
  // Host state, kept for derived classes; nothing in the framework reads it.
  Viewport viewport{};
  float beatsPerMinute = 120.0f;
  float barPhase = 0.0f;
  std::string hostName;
  std::string hostVersion;
  double hostTime = 0.0;
  int32_t sampleRate = 0;
};

// CFFGLPluginManager: the parameter definitions of a plugin and a few
// plugin-wide facts (input counts, capability flags). Every plugin instance
// carries one; the dispatcher answers most parameter queries from the
// prototype instance's registry. Definitions only: current values live in the
// plugin and are reached through CFFGLPlugin's virtual operations.
//
// Indices are keys, not positions: queries scan the records in registration
// order and use the first whose index matches. Unregistered indices and
// out-of-range list positions get fixed answers (see each query), never a fault.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/HostRecords.h"

struct ParameterElement {
  std::string name;
  float value = 0.0f;
};

struct ParameterRecord {
  uint32_t index = 0;
  std::string name;
  std::string displayName;
  int32_t type = 11;
  std::vector<ParameterElement> elements;
  std::vector<uint32_t> separators;
  int32_t usage = 0;
  bool visible = true;
  float rangeMin = 0.0f;
  float rangeMax = 1.0f;
  float defaultValue = 0.0f;
  std::string defaultText;
  std::vector<std::string> fileExtensions;
  uint64_t pendingEvents = 0;
  std::string group;
};

class CFFGLPluginManager {
 public:
  explicit CFFGLPluginManager(bool capability16Supported);
  virtual ~CFFGLPluginManager();

  CFFGLPluginManager(const CFFGLPluginManager&) = delete;
  CFFGLPluginManager& operator=(const CFFGLPluginManager&) = delete;

  // --- Registration (from a derived class's constructor) ---
  // Appends a record with one blank element; a standard (10) default is
  // clamped to 0..1. Duplicate indices are not checked: the first one wins.
  void AddParameter(uint32_t index, const char* name, int32_t type, float defaultValue);
  // Appends an option record (type 11) with elementCount blank elements; the
  // default is stored unchanged.
  void AddOptionParameter(uint32_t index, const char* name, uint32_t elementCount, float defaultValue);
  // Names one element; ignored for an unregistered index or a position past the list.
  void SetOptionElement(uint32_t index, uint32_t position, const char* elementName, float elementValue);
  void SetMinimumInputs(int32_t count) { minimumInputs = count; }
  void SetMaximumInputs(int32_t count) { maximumInputs = count; }

  // --- Queries; text answers point at the registry's own copies, valid until
  // another parameter is added or the registry is destroyed ---
  int32_t GetParameterCount() const { return static_cast<int32_t>(parameters.size()); }
  const char* GetParameterName(uint32_t index) const;             // null if unregistered
  uint64_t GetParameterDefault(uint32_t index) const;             // float bits, or text address for 14/100; 0xFFFFFFFF if unregistered
  int32_t GetParameterType(uint32_t index) const;                 // -1 if unregistered
  std::pair<float, float> GetParameterRange(uint32_t index) const;  // (0, 1) if unregistered
  int32_t GetParameterUsage(uint32_t index) const;                // -1 if unregistered
  int32_t GetParameterVisibility(uint32_t index) const;           // 1/0, -1 if unregistered
  uint32_t GetElementCount(uint32_t index) const;                 // 0xFFFFFFFF if unregistered
  const char* GetElementName(uint32_t index, uint32_t position) const;   // null if absent
  uint32_t GetElementValue(uint32_t index, uint32_t position) const;     // float bits; 0xFFFFFFFF if absent
  uint32_t SetElementValue(uint32_t index, uint32_t position, float value);  // 0, or 0xFFFFFFFF if absent
  uint32_t GetFileExtensionCount(uint32_t index) const;           // 0 if unregistered
  const char* GetFileExtension(uint32_t index, uint32_t position) const;  // null if absent
  uint32_t GetSeparatorCount(uint32_t index) const;               // 0 if unregistered
  uint32_t GetSeparator(uint32_t index, uint32_t position) const;  // 0xFFFFFFFF if absent
  std::string GetParameterGroup(uint32_t index) const;            // a copy; empty if unregistered
  std::string GetParameterDisplayName(uint32_t index) const;      // a copy; empty if unregistered
  uint32_t GetPendingEventCount() const;
  // Writes at most `capacity` reports in registration order, clearing the
  // flags it reports; answers how many it wrote.
  uint32_t TakePendingEvents(ParameterEventReport* reports, uint32_t capacity);

  int32_t GetMinimumInputs() const { return minimumInputs; }
  int32_t GetMaximumInputs() const { return maximumInputs; }
  bool HasCapability5() const { return capability5Flag; }
  bool HasCapability16() const { return capability16Supported; }
  void EnableCapability16() { capability16Enabled = 1; }
  uint32_t IsCapability16Enabled() const { return capability16Enabled; }

 protected:
  // For derived classes that want more than the registration values.
  ParameterRecord* FindParameter(uint32_t index);
  const ParameterRecord* FindParameter(uint32_t index) const;

  std::vector<ParameterRecord> parameters;
  int32_t minimumInputs = 0;
  int32_t maximumInputs = 0;
  bool capability5Flag = true;
  bool capability16Supported;
  uint32_t capability16Enabled = 0;

 private:
  ParameterRecord MakeRecord(uint32_t index, const char* name, int32_t type) const;
  const ParameterElement* FindElement(uint32_t index, uint32_t position) const;
};

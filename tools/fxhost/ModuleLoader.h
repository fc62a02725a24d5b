// ModuleLoader: one module loaded by path, reached only through its two
// exports, plugMain and SetLogCallback, as any host reaches it. It installs
// HostLog as the module's log callback, initialises the module (code 34) and
// deinitialises it (code 2) before unloading.
//
// Calls are made from one thread at a time (the module's contract). Codes 17,
// 18 and 19 need the host's GL context current; see PluginInstance.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace fxhost {

class DynamicLibrary;

class ModuleLoader {
 public:
  using PlugMain = uint64_t (*)(uint32_t functionCode, uint64_t input, void* instance);
  using LogCallback = void (*)(const char* text);
  using SetLogCallbackFunction = void (*)(LogCallback callback);

  // Loads the module and initialises it. Throws Error when the file is
  // missing or unreadable, is no loadable library, lacks plugMain, or its
  // code 34 fails.
  explicit ModuleLoader(const std::string& path);
  ~ModuleLoader();
  ModuleLoader(const ModuleLoader&) = delete;
  ModuleLoader& operator=(const ModuleLoader&) = delete;

  uint64_t Call(uint32_t functionCode, uint64_t input = 0, void* instance = nullptr) const;
  // Passes a host record's address as the input.
  template <typename Record>
  uint64_t CallWith(uint32_t functionCode, Record* record, void* instance = nullptr) const {
    return Call(functionCode, static_cast<uint64_t>(reinterpret_cast<uintptr_t>(record)), instance);
  }

  const std::string& Path() const { return path; }
  // False for a module that exports no SetLogCallback: its host log is lost.
  bool HasLogCallback() const { return setLogCallback != nullptr; }

  // Reading answers. A result code succeeded when its low 32 bits are 0.
  static bool Succeeded(uint64_t answer) { return static_cast<uint32_t>(answer) == 0; }
  // A pointer answer as text: null for null and for the 0xFFFFFFFF failure.
  static const char* AsText(uint64_t answer);
  // A float-bits answer.
  static float AsFloat(uint64_t answer);
  // A number answer is the low 32 bits; 0xFFFFFFFF where there is none.
  static uint32_t AsNumber(uint64_t answer) { return static_cast<uint32_t>(answer); }

 private:
  std::string path;
  std::unique_ptr<DynamicLibrary> library;
  PlugMain plugMain = nullptr;
  SetLogCallbackFunction setLogCallback = nullptr;
  bool initialised = false;
};

}  // namespace fxhost

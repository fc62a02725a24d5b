#include "tools/fxhost/platform/EglContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "tools/fxhost/Error.h"

namespace fxhost {
namespace {

bool HasExtension(const char* extensions, const char* name) {
  if (extensions == nullptr) return false;
  const size_t length = std::strlen(name);
  for (const char* at = std::strstr(extensions, name); at != nullptr; at = std::strstr(at + length, name)) {
    const bool startsWord = at == extensions || at[-1] == ' ';
    const bool endsWord = at[length] == ' ' || at[length] == '\0';
    if (startsWord && endsWord) return true;
  }
  return false;
}

class EglContext : public GLContext {
 public:
  EglContext(EGLDisplay eglDisplay, EGLContext eglContext, EGLSurface eglSurface, std::string how)
      : display(eglDisplay), context(eglContext), surface(eglSurface), description(std::move(how)) {}
  ~EglContext() override {
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (surface != EGL_NO_SURFACE) eglDestroySurface(display, surface);
    eglDestroyContext(display, context);
    eglTerminate(display);
  }
  std::string Describe() const override { return description; }

 private:
  EGLDisplay display;
  EGLContext context;
  EGLSurface surface;
  std::string description;
};

// Makes a 4.1 core context current on an initialised display, with no
// surface where the display allows it and a tiny pbuffer otherwise.
std::unique_ptr<GLContext> MakeContextOn(EGLDisplay display, const std::string& how, std::string* failure) {
  EGLint major = 0;
  EGLint minor = 0;
  if (!eglInitialize(display, &major, &minor)) {
    *failure = how + ": eglInitialize failed";
    return nullptr;
  }
  if (!eglBindAPI(EGL_OPENGL_API)) {
    *failure = how + ": no desktop OpenGL";
    eglTerminate(display);
    return nullptr;
  }
  const bool surfaceless = HasExtension(eglQueryString(display, EGL_EXTENSIONS), "EGL_KHR_surfaceless_context");
  const EGLint configAttributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_SURFACE_TYPE,
                                     surfaceless ? 0 : EGL_PBUFFER_BIT, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint configCount = 0;
  if (!eglChooseConfig(display, configAttributes, &config, 1, &configCount) || configCount == 0) {
    *failure = how + ": no OpenGL configuration";
    eglTerminate(display);
    return nullptr;
  }
  const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION, 4, EGL_CONTEXT_MINOR_VERSION, 1,
                                      EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                      EGL_NONE};
  EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
  if (context == EGL_NO_CONTEXT) {
    *failure = how + ": no OpenGL 4.1 core context";
    eglTerminate(display);
    return nullptr;
  }
  EGLSurface surface = EGL_NO_SURFACE;
  if (!surfaceless) {
    const EGLint pbufferAttributes[] = {EGL_WIDTH, 16, EGL_HEIGHT, 16, EGL_NONE};
    surface = eglCreatePbufferSurface(display, config, pbufferAttributes);
  }
  if (!eglMakeCurrent(display, surface, surface, context)) {
    *failure = how + ": the context cannot be made current";
    if (surface != EGL_NO_SURFACE) eglDestroySurface(display, surface);
    eglDestroyContext(display, context);
    eglTerminate(display);
    return nullptr;
  }
  return std::make_unique<EglContext>(display, context, surface, how);
}

struct EglEntryPoints {
  PFNEGLGETPLATFORMDISPLAYEXTPROC getPlatformDisplay = nullptr;
  PFNEGLQUERYDEVICESEXTPROC queryDevices = nullptr;
  PFNEGLQUERYDEVICESTRINGEXTPROC queryDeviceString = nullptr;
};

// The devices of the device platform, hardware ones first.
std::vector<std::pair<EGLDeviceEXT, bool>> ListDevices(const EglEntryPoints& egl) {
  std::vector<std::pair<EGLDeviceEXT, bool>> devices;  // device, is software
  if (egl.queryDevices == nullptr) return devices;
  EGLDeviceEXT found[16];
  EGLint count = 0;
  if (!egl.queryDevices(16, found, &count)) return devices;
  for (EGLint i = 0; i < count; ++i) {
    const char* extensions = egl.queryDeviceString != nullptr ? egl.queryDeviceString(found[i], EGL_EXTENSIONS) : nullptr;
    devices.emplace_back(found[i], HasExtension(extensions, "EGL_MESA_device_software"));
  }
  std::stable_partition(devices.begin(), devices.end(), [](const auto& device) { return !device.second; });
  return devices;
}

}  // namespace

std::unique_ptr<GLContext> CreateEglContext(EglPlatform platform) {
  const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  EglEntryPoints egl;
  egl.getPlatformDisplay =
      reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (egl.getPlatformDisplay == nullptr) throw Error("EGL offers no platform displays (eglGetPlatformDisplayEXT)");
  if (HasExtension(clientExtensions, "EGL_EXT_platform_device")) {
    egl.queryDevices = reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
    egl.queryDeviceString =
        reinterpret_cast<PFNEGLQUERYDEVICESTRINGEXTPROC>(eglGetProcAddress("eglQueryDeviceStringEXT"));
  }
  const bool surfacelessOffered = HasExtension(clientExtensions, "EGL_MESA_platform_surfaceless");

  std::vector<std::string> failures;
  std::string failure;
  auto tryDevice = [&](EGLDeviceEXT device, size_t number, bool software) -> std::unique_ptr<GLContext> {
    EGLDisplay display = egl.getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, device, nullptr);
    if (display == EGL_NO_DISPLAY) return nullptr;
    const std::string how = "EGL device " + std::to_string(number) + (software ? " (software)" : "");
    auto context = MakeContextOn(display, how, &failure);
    if (!context) failures.push_back(failure);
    return context;
  };
  auto trySurfaceless = [&]() -> std::unique_ptr<GLContext> {
    if (!surfacelessOffered) {
      failures.emplace_back("the surfaceless platform is not offered");
      return nullptr;
    }
    EGLDisplay display = egl.getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) return nullptr;
    auto context = MakeContextOn(display, "EGL surfaceless platform", &failure);
    if (!context) failures.push_back(failure);
    return context;
  };

  const auto devices = ListDevices(egl);
  if (platform == EglPlatform::kDevice && devices.empty()) failures.emplace_back("the device platform lists no device");
  if (platform != EglPlatform::kSurfaceless) {
    for (size_t i = 0; i < devices.size(); ++i) {
      const bool software = devices[i].second;
      if (software && platform == EglPlatform::kAutomatic) continue;  // after the surfaceless platform
      if (auto context = tryDevice(devices[i].first, i, software)) return context;
    }
  }
  if (platform != EglPlatform::kDevice) {
    if (auto context = trySurfaceless()) return context;
  }
  if (platform == EglPlatform::kAutomatic) {
    for (size_t i = 0; i < devices.size(); ++i) {
      if (!devices[i].second) continue;
      if (auto context = tryDevice(devices[i].first, i, true)) return context;
    }
  }
  std::string reasons;
  for (const std::string& reason : failures) reasons += (reasons.empty() ? "" : "; ") + reason;
  throw Error("no headless OpenGL 4.1 core context through EGL (" +
              (reasons.empty() ? std::string("no platform or device could be used") : reasons) +
              "); try --glx with an X display");
}

}  // namespace fxhost

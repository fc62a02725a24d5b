#include "tools/fxhost/platform/EglContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstring>
#include <string>
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

}  // namespace

std::unique_ptr<GLContext> CreateEglContext() {
  const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  auto getPlatformDisplay =
      reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getPlatformDisplay == nullptr) throw Error("EGL offers no platform displays (eglGetPlatformDisplayEXT)");

  std::vector<std::string> failures;
  std::string failure;
  if (HasExtension(clientExtensions, "EGL_MESA_platform_surfaceless")) {
    EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display != EGL_NO_DISPLAY) {
      if (auto context = MakeContextOn(display, "EGL surfaceless platform", &failure)) return context;
      failures.push_back(failure);
    }
  }
  auto queryDevices = reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
  if (queryDevices != nullptr && HasExtension(clientExtensions, "EGL_EXT_platform_device")) {
    EGLDeviceEXT devices[16];
    EGLint deviceCount = 0;
    if (queryDevices(16, devices, &deviceCount)) {
      for (EGLint i = 0; i < deviceCount; ++i) {
        EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, devices[i], nullptr);
        if (display == EGL_NO_DISPLAY) continue;
        if (auto context = MakeContextOn(display, "EGL device " + std::to_string(i), &failure)) return context;
        failures.push_back(failure);
      }
    }
  }
  std::string reasons;
  for (const std::string& reason : failures) reasons += (reasons.empty() ? "" : "; ") + reason;
  throw Error("no headless OpenGL 4.1 core context through EGL (" +
              (reasons.empty() ? std::string("neither the surfaceless nor the device platform is offered") : reasons) +
              "); try --glx with an X display");
}

}  // namespace fxhost

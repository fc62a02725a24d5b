#include "tools/fxhost/platform/WglContext.h"

#include <windows.h>
#include <GL/glew.h>
#include <GL/wglew.h>

#include <string>

#include "tools/fxhost/Error.h"

namespace fxhost {
namespace {

constexpr const char* kWindowClass = "fxhostGLWindow";

// The window, its device context and a GL context on it; each step undone by
// the destructor, so a failure half-way leaves nothing behind.
class WglContext : public GLContext {
 public:
  ~WglContext() override {
    if (context != nullptr) {
      if (wglGetCurrentContext() == context) wglMakeCurrent(nullptr, nullptr);
      wglDeleteContext(context);
    }
    if (deviceContext != nullptr) ReleaseDC(window, deviceContext);
    if (window != nullptr) DestroyWindow(window);
  }
  std::string Describe() const override { return "WGL on a hidden window"; }

  HWND window = nullptr;
  HDC deviceContext = nullptr;
  HGLRC context = nullptr;
};

void RegisterWindowClass() {
  WNDCLASSA windowClass{};
  windowClass.style = CS_OWNDC;  // one device context for the window's life, as WGL wants
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kWindowClass;
  if (RegisterClassA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw Error("--wgl: cannot register a window class (error " + std::to_string(GetLastError()) + ")");
  }
}

void ChooseWindowPixelFormat(HDC deviceContext) {
  PIXELFORMATDESCRIPTOR wanted{};
  wanted.nSize = sizeof wanted;
  wanted.nVersion = 1;
  wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  wanted.iPixelType = PFD_TYPE_RGBA;
  wanted.cColorBits = 32;
  wanted.iLayerType = PFD_MAIN_PLANE;
  const int format = ChoosePixelFormat(deviceContext, &wanted);
  if (format == 0 || !SetPixelFormat(deviceContext, format, &wanted)) {
    throw Error("--wgl: the window offers no OpenGL pixel format");
  }
}

// wglCreateContextAttribsARB is an extension: WGL hands it out only while
// some context is current, so a plain one is made first and dropped after.
PFNWGLCREATECONTEXTATTRIBSARBPROC LoadCreateContextAttribs(HDC deviceContext) {
  HGLRC bootstrap = wglCreateContext(deviceContext);
  if (bootstrap == nullptr || !wglMakeCurrent(deviceContext, bootstrap)) {
    const DWORD code = GetLastError();
    if (bootstrap != nullptr) wglDeleteContext(bootstrap);
    throw Error("--wgl: cannot make even a basic OpenGL context (error " + std::to_string(code) + ")");
  }
  // Through void(*)(): the one function-pointer type any other converts to cleanly.
  auto createContext = reinterpret_cast<PFNWGLCREATECONTEXTATTRIBSARBPROC>(
      reinterpret_cast<void (*)()>(wglGetProcAddress("wglCreateContextAttribsARB")));
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(bootstrap);
  if (createContext == nullptr) throw Error("--wgl: wglCreateContextAttribsARB is missing");
  return createContext;
}

}  // namespace

std::unique_ptr<GLContext> CreateWglContext() {
  RegisterWindowClass();
  auto made = std::make_unique<WglContext>();
  // Never shown: the window only carries the device context.
  made->window = CreateWindowExA(0, kWindowClass, "fxhost", WS_OVERLAPPEDWINDOW, 0, 0, 16, 16, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
  if (made->window == nullptr) {
    throw Error("--wgl: cannot create a window (error " + std::to_string(GetLastError()) + ")");
  }
  made->deviceContext = GetDC(made->window);
  ChooseWindowPixelFormat(made->deviceContext);

  const PFNWGLCREATECONTEXTATTRIBSARBPROC createContext = LoadCreateContextAttribs(made->deviceContext);
  const int contextAttributes[] = {WGL_CONTEXT_MAJOR_VERSION_ARB, 4, WGL_CONTEXT_MINOR_VERSION_ARB, 1,
                                   WGL_CONTEXT_PROFILE_MASK_ARB, WGL_CONTEXT_CORE_PROFILE_BIT_ARB, 0};
  made->context = createContext(made->deviceContext, nullptr, contextAttributes);
  if (made->context == nullptr) {
    throw Error("--wgl: the driver cannot make an OpenGL 4.1 core context (error " +
                std::to_string(GetLastError()) + ")");
  }
  if (!wglMakeCurrent(made->deviceContext, made->context)) {
    throw Error("--wgl: the context cannot be made current");
  }
  return made;
}

}  // namespace fxhost

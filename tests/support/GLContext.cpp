#include "tests/support/GLContext.h"

#include <GL/glew.h>
#include <GL/glx.h>
#include <EGL/egl.h>
#include <EGL/eglext.h>

namespace qvx::test {

struct GlxContext::Impl {
  Display* display = nullptr;
  GLXContext context = nullptr;
  GLXPbuffer pbuffer = 0;
};

GlxContext::GlxContext() : impl(new Impl) {
  impl->display = XOpenDisplay(nullptr);
  if (impl->display == nullptr) {
    error = "cannot open the X display (is DISPLAY set? run the tests under xvfb-run)";
    return;
  }
  const int configAttributes[] = {GLX_DRAWABLE_TYPE, GLX_PBUFFER_BIT, GLX_RENDER_TYPE, GLX_RGBA_BIT,
                                  GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8, GLX_ALPHA_SIZE, 8,
                                  None};
  int configCount = 0;
  GLXFBConfig* configs =
      glXChooseFBConfig(impl->display, DefaultScreen(impl->display), configAttributes, &configCount);
  if (configs == nullptr || configCount == 0) {
    error = "no GLX framebuffer configuration";
    return;
  }
  GLXFBConfig config = configs[0];
  XFree(configs);

  using CreateContextAttribs = GLXContext (*)(Display*, GLXFBConfig, GLXContext, Bool, const int*);
  auto createContext = reinterpret_cast<CreateContextAttribs>(
      glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXCreateContextAttribsARB")));
  if (createContext == nullptr) {
    error = "glXCreateContextAttribsARB is missing";
    return;
  }
  const int contextAttributes[] = {GLX_CONTEXT_MAJOR_VERSION_ARB, 4, GLX_CONTEXT_MINOR_VERSION_ARB, 1,
                                   GLX_CONTEXT_PROFILE_MASK_ARB, GLX_CONTEXT_CORE_PROFILE_BIT_ARB, None};
  impl->context = createContext(impl->display, config, nullptr, True, contextAttributes);
  if (impl->context == nullptr) {
    error = "cannot create an OpenGL 4.1 core context through GLX";
    return;
  }
  const int pbufferAttributes[] = {GLX_PBUFFER_WIDTH, 16, GLX_PBUFFER_HEIGHT, 16, None};
  impl->pbuffer = glXCreatePbuffer(impl->display, config, pbufferAttributes);
  MakeCurrent();
  valid = true;
}

void GlxContext::MakeCurrent() { glXMakeContextCurrent(impl->display, impl->pbuffer, impl->pbuffer, impl->context); }

GlxContext::~GlxContext() {
  if (impl->display != nullptr) {
    glXMakeContextCurrent(impl->display, None, None, nullptr);
    if (impl->context != nullptr) glXDestroyContext(impl->display, impl->context);
    if (impl->pbuffer != 0) glXDestroyPbuffer(impl->display, impl->pbuffer);
    XCloseDisplay(impl->display);
  }
  delete impl;
}

struct EglSurfacelessContext::Impl {
  EGLDisplay display = EGL_NO_DISPLAY;
  EGLContext context = EGL_NO_CONTEXT;
};

EglSurfacelessContext::EglSurfacelessContext() : impl(new Impl) {
  auto getPlatformDisplay =
      reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getPlatformDisplay == nullptr) {
    error = "eglGetPlatformDisplayEXT is missing";
    return;
  }
  impl->display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (impl->display == EGL_NO_DISPLAY || !eglInitialize(impl->display, nullptr, nullptr)) {
    error = "cannot initialise Mesa's surfaceless EGL platform";
    return;
  }
  eglBindAPI(EGL_OPENGL_API);
  const EGLint configAttributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_SURFACE_TYPE, EGL_PBUFFER_BIT,
                                     EGL_NONE};
  EGLConfig config = nullptr;
  EGLint configCount = 0;
  eglChooseConfig(impl->display, configAttributes, &config, 1, &configCount);
  const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION, 4, EGL_CONTEXT_MINOR_VERSION, 1,
                                      EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                      EGL_NONE};
  impl->context = eglCreateContext(impl->display, configCount > 0 ? config : EGL_NO_CONFIG_KHR,
                                   EGL_NO_CONTEXT, contextAttributes);
  if (impl->context == EGL_NO_CONTEXT ||
      !eglMakeCurrent(impl->display, EGL_NO_SURFACE, EGL_NO_SURFACE, impl->context)) {
    error = "cannot create or bind an OpenGL 4.1 core context through EGL";
    return;
  }
  valid = true;
}

EglSurfacelessContext::~EglSurfacelessContext() {
  if (impl->display != EGL_NO_DISPLAY) {
    eglMakeCurrent(impl->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (impl->context != EGL_NO_CONTEXT) eglDestroyContext(impl->display, impl->context);
    eglTerminate(impl->display);
  }
  delete impl;
}

bool LoadGLForTests() {
  glewExperimental = GL_TRUE;
  const GLenum answer = glewInit();
  if (answer == GLEW_OK) return true;
  return answer == GLEW_ERROR_NO_GLX_DISPLAY && GLEW_VERSION_4_1 && glCreateShader != nullptr;
}

}  // namespace qvx::test

#include "tools/fxhost/platform/GlxContext.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <string>

#include "tools/fxhost/Error.h"

namespace fxhost {
namespace {

// Xlib's default error handler ends the process; while the context is made,
// an X error (a refused context version, say) is recorded instead.
bool xErrorSeen = false;
int RecordXError(Display*, XErrorEvent*) {
  xErrorSeen = true;
  return 0;
}

class GlxContext : public GLContext {
 public:
  GlxContext(Display* xDisplay, GLXContext glxContext, GLXPbuffer glxPbuffer)
      : display(xDisplay), context(glxContext), pbuffer(glxPbuffer) {}
  ~GlxContext() override {
    glXMakeContextCurrent(display, None, None, nullptr);
    glXDestroyContext(display, context);
    glXDestroyPbuffer(display, pbuffer);
    XCloseDisplay(display);
  }
  std::string Describe() const override { return std::string("GLX on display ") + DisplayString(display); }

 private:
  Display* display;
  GLXContext context;
  GLXPbuffer pbuffer;
};

}  // namespace

std::unique_ptr<GLContext> CreateGlxContext() {
  const char* displayName = std::getenv("DISPLAY");
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    throw Error(std::string("--glx: cannot open the X display ") +
                (displayName != nullptr ? "'" + std::string(displayName) + "'" : "(DISPLAY is not set)"));
  }
  const int configAttributes[] = {GLX_DRAWABLE_TYPE, GLX_PBUFFER_BIT, GLX_RENDER_TYPE, GLX_RGBA_BIT,
                                  GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8, None};
  int configCount = 0;
  GLXFBConfig* configs = glXChooseFBConfig(display, DefaultScreen(display), configAttributes, &configCount);
  if (configs == nullptr || configCount == 0) {
    if (configs != nullptr) XFree(configs);
    XCloseDisplay(display);
    throw Error("--glx: the X display offers no GLX pbuffer configuration");
  }
  const GLXFBConfig config = configs[0];
  XFree(configs);

  using CreateContextAttribs = GLXContext (*)(Display*, GLXFBConfig, GLXContext, Bool, const int*);
  auto createContext = reinterpret_cast<CreateContextAttribs>(
      glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXCreateContextAttribsARB")));
  if (createContext == nullptr) {
    XCloseDisplay(display);
    throw Error("--glx: glXCreateContextAttribsARB is missing");
  }
  const int contextAttributes[] = {GLX_CONTEXT_MAJOR_VERSION_ARB, 4, GLX_CONTEXT_MINOR_VERSION_ARB, 1,
                                   GLX_CONTEXT_PROFILE_MASK_ARB, GLX_CONTEXT_CORE_PROFILE_BIT_ARB, None};
  xErrorSeen = false;
  XErrorHandler previousHandler = XSetErrorHandler(RecordXError);
  GLXContext context = createContext(display, config, nullptr, True, contextAttributes);
  XSync(display, False);
  XSetErrorHandler(previousHandler);
  if (context == nullptr || xErrorSeen) {
    if (context != nullptr) glXDestroyContext(display, context);
    XCloseDisplay(display);
    throw Error("--glx: the X display cannot make an OpenGL 4.1 core context");
  }
  const int pbufferAttributes[] = {GLX_PBUFFER_WIDTH, 16, GLX_PBUFFER_HEIGHT, 16, None};
  const GLXPbuffer pbuffer = glXCreatePbuffer(display, config, pbufferAttributes);
  if (!glXMakeContextCurrent(display, pbuffer, pbuffer, context)) {
    glXDestroyContext(display, context);
    glXDestroyPbuffer(display, pbuffer);
    XCloseDisplay(display);
    throw Error("--glx: the context cannot be made current");
  }
  return std::make_unique<GlxContext>(display, context, pbuffer);
}

}  // namespace fxhost

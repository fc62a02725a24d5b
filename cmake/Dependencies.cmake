# OpenGL and GLEW. On Linux both come from Debian's packages (scripts/bootstrap);
# a cross build may point GLEW_ROOT at a GLEW it built itself.
set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED)
find_package(GLEW REQUIRED)

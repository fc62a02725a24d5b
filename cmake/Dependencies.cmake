# OpenGL and GLEW. On Linux both come from Debian's packages (scripts/bootstrap);
# the Windows cross build compiles GLEW, and what fxhost needs, from Debian's
# source packages.
set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED)

if(WIN32 AND CMAKE_CROSSCOMPILING)
  include(${CMAKE_CURRENT_LIST_DIR}/cross/WindowsDependencies.cmake)
endif()
find_package(GLEW REQUIRED)

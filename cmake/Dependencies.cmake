# OpenGL and GLEW. On Linux both come from Debian's packages (scripts/bootstrap);
# the Windows cross build compiles GLEW from Debian's glew source package.
set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED)

if(WIN32 AND CMAKE_CROSSCOMPILING)
  include(${CMAKE_CURRENT_LIST_DIR}/GlewFromDebianSource.cmake)
else()
  find_package(GLEW REQUIRED)
endif()

# The libraries of the Windows cross build that Debian ships for Linux only:
# built from Debian's source packages (or, header-only, taken as they are) into
# the build tree. find_package() for each of them then answers with these
# targets, through CMake's package redirects, so the rest of the build asks for
# them as on Linux.
include(${CMAKE_CURRENT_LIST_DIR}/DebianSource.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/Glew.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/Png.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/CLI11.cmake)

foreach(package GLEW PNG CLI11)
  string(TOLOWER ${package} file_name)
  file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/${file_name}-config.cmake
       "# Built in this tree by cmake/cross/WindowsDependencies.cmake.\nset(${package}_FOUND TRUE)\n")
endforeach()

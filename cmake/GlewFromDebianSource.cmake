# GLEW for targets that Debian ships no GLEW package for (the Windows cross
# build): Debian's own glew source package is fetched into the build tree at
# configure time and compiled here as a static library with the project's
# toolchain. GLEW_STATIC goes to everything that links it, so its functions are
# neither imported from nor exported by any DLL.
set(QVX_GLEW_SOURCE_DIR ${CMAKE_BINARY_DIR}/_deps/glew-source)

if(NOT EXISTS ${QVX_GLEW_SOURCE_DIR}/src/glew.c)
  message(STATUS "Fetching Debian's glew source package into ${QVX_GLEW_SOURCE_DIR}")
  execute_process(
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/fetch-glew-source ${QVX_GLEW_SOURCE_DIR}
    RESULT_VARIABLE fetch_result)
  if(NOT fetch_result EQUAL 0)
    message(FATAL_ERROR "Could not fetch GLEW's source (see above); scripts/bootstrap --windows sets up apt for it")
  endif()
endif()

add_library(qvx_glew_static STATIC ${QVX_GLEW_SOURCE_DIR}/src/glew.c)
# SYSTEM: GLEW's headers are not ours to warn about.
target_include_directories(qvx_glew_static SYSTEM PUBLIC ${QVX_GLEW_SOURCE_DIR}/include)
target_compile_definitions(qvx_glew_static PUBLIC GLEW_STATIC GLEW_NO_GLU)
target_link_libraries(qvx_glew_static PUBLIC OpenGL::GL)
set_target_properties(qvx_glew_static PROPERTIES C_VISIBILITY_PRESET hidden)
add_library(GLEW::GLEW ALIAS qvx_glew_static)

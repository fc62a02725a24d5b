# GLEW for the Windows cross build, compiled from Debian's glew source package
# as a static library with the project's toolchain. GLEW_STATIC goes to
# everything that links it, so its functions are neither imported from nor
# exported by any DLL.
qvx_fetch_debian_source(glew glew_source)

add_library(qvx_glew_static STATIC ${glew_source}/src/glew.c)
# SYSTEM: GLEW's headers are not ours to warn about.
target_include_directories(qvx_glew_static SYSTEM PUBLIC ${glew_source}/include)
target_compile_definitions(qvx_glew_static PUBLIC GLEW_STATIC GLEW_NO_GLU)
target_link_libraries(qvx_glew_static PUBLIC OpenGL::GL)
add_library(GLEW::GLEW ALIAS qvx_glew_static)

# libpng for the Windows cross build (fxhost reads and writes PNG files),
# compiled from Debian's libpng1.6 source package as a static library, on
# Debian's static zlib for MinGW-w64 (libz-mingw-w64-dev).
qvx_fetch_debian_source(libpng1.6 png_source)

find_library(QVX_MINGW_STATIC_ZLIB NAMES libz.a REQUIRED)
find_path(QVX_MINGW_ZLIB_INCLUDE zlib.h REQUIRED)
add_library(qvx_zlib_static STATIC IMPORTED)
set_target_properties(qvx_zlib_static PROPERTIES
  IMPORTED_LOCATION ${QVX_MINGW_STATIC_ZLIB}
  INTERFACE_INCLUDE_DIRECTORIES ${QVX_MINGW_ZLIB_INCLUDE})

# The configuration header that libpng's own builds generate; the release
# ships it ready-made for a default build.
set(png_config_directory ${CMAKE_BINARY_DIR}/_deps/libpng-config)
configure_file(${png_source}/scripts/pnglibconf.h.prebuilt ${png_config_directory}/pnglibconf.h COPYONLY)

set(png_files png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset pngtrans pngwio
    pngwrite pngwtran pngwutil)
list(TRANSFORM png_files PREPEND ${png_source}/)
list(TRANSFORM png_files APPEND .c)
add_library(qvx_png_static STATIC ${png_files})
target_include_directories(qvx_png_static SYSTEM PUBLIC ${png_source} ${png_config_directory})
target_link_libraries(qvx_png_static PUBLIC qvx_zlib_static)
add_library(PNG::PNG ALIAS qvx_png_static)

# Cross-builds the module and its tools for 64-bit Windows with Debian's
# MinGW-w64 (g++-mingw-w64-x86-64). The POSIX-threads flavour is used so that
# the whole C++ standard library is there; every binary takes its C, C++ and
# thread runtimes inside (-static), so a DLL or EXE needs only the libraries
# that come with Windows itself.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QVX_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QVX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QVX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QVX_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QVX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(static_runtime "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${static_runtime}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${static_runtime}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${static_runtime}")
# Release binaries go to users: without the static runtimes' symbol tables.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_SHARED_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_MODULE_LINKER_FLAGS_RELEASE_INIT "-s")

# Lets CMake run the built programs (try_run, test discovery) through Wine.
find_program(QVX_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(QVX_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QVX_WINE64})
endif()

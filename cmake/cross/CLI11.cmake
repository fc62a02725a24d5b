# CLI11 for the Windows cross build: header-only, so Debian's libcli11-dev
# serves every target. Only its own folder is put on the include path (through
# a link in the build tree): the rest of /usr/include is Linux's.
find_path(QVX_CLI11_INCLUDE CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH REQUIRED)
set(cli11_include ${CMAKE_BINARY_DIR}/_deps/cli11-include)
file(MAKE_DIRECTORY ${cli11_include})
file(CREATE_LINK ${QVX_CLI11_INCLUDE}/CLI ${cli11_include}/CLI SYMBOLIC)

add_library(qvx_cli11 INTERFACE)
target_include_directories(qvx_cli11 SYSTEM INTERFACE ${cli11_include})
add_library(CLI11::CLI11 ALIAS qvx_cli11)

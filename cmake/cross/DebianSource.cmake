# qvx_fetch_debian_source(PACKAGE OUT_VAR): unpacks Debian's source package
# PACKAGE into the build tree at configure time (once) and sets OUT_VAR to its
# folder. Used for libraries that Debian ships for Linux only.
function(qvx_fetch_debian_source package out_var)
  set(directory ${CMAKE_BINARY_DIR}/_deps/${package}-source)
  if(NOT EXISTS ${directory}/.fetched-from-debian)
    message(STATUS "Fetching Debian's ${package} source package into ${directory}")
    execute_process(
      COMMAND ${PROJECT_SOURCE_DIR}/scripts/fetch-debian-source ${package} ${directory}
      RESULT_VARIABLE fetch_result)
    if(NOT fetch_result EQUAL 0)
      message(FATAL_ERROR "Could not fetch the source of ${package} (see above); "
                          "scripts/bootstrap --windows sets up apt for it")
    endif()
  endif()
  set(${out_var} ${directory} PARENT_SCOPE)
endfunction()

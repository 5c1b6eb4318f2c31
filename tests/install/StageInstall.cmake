# stage_install(ROOT PREFIX): installs the build (BUILD) under the prefix PREFIX into the
# staging folder ROOT, as a package would; a failure fails the test.
function(stage_install root prefix)
  set(ENV{DESTDIR} "${root}")
  execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${prefix}"
    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
  unset(ENV{DESTDIR})
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${status}): ${errors}")
  endif()
endfunction()

# Runs ostiva-cli with ARGS (joined with "|") and fails unless it exits with EXPECT.
# A usage error (2) must also explain itself on stderr.
string(REPLACE "|" ";" ARGS "${ARGS}")
execute_process(COMMAND "${CLI}" ${ARGS} RESULT_VARIABLE status ERROR_VARIABLE errors
  OUTPUT_QUIET)
if(NOT status EQUAL EXPECT)
  message(FATAL_ERROR "ostiva-cli ${ARGS}: exit status ${status}, expected ${EXPECT}: ${errors}")
endif()
if(EXPECT EQUAL 2 AND NOT errors MATCHES "usage: ostiva-cli")
  message(FATAL_ERROR "no usage text on stderr: ${errors}")
endif()

# Every command answers --help with its own usage on stdout and exit status 0, wherever the
# option stands. Called with -DCLI=<ostiva-cli> -DCOMMANDS=<command|command|...>.
string(REPLACE "|" ";" COMMANDS "${COMMANDS}")
foreach(command ${COMMANDS})
  foreach(args "${command};--help" "${command};x.xml;--help")
    execute_process(COMMAND "${CLI}" ${args} RESULT_VARIABLE status OUTPUT_VARIABLE out
      ERROR_VARIABLE errors)
    if(NOT status EQUAL 0 OR NOT out MATCHES "^usage: ostiva-cli ${command} " OR
       out MATCHES "ostiva-cli --help" OR NOT errors STREQUAL "")
      message(FATAL_ERROR "${args}: status ${status}, stdout [${out}], stderr [${errors}]")
    endif()
  endforeach()
endforeach()

# Runs PROGRAM (named NAME) with --version and --help: both answer on stdout alone and exit 0,
# --version with "NAME VERSION". A platform that does not exist makes any attempt to open a
# window fail, so the desktop program must answer before it creates one.
set(ENV{QT_QPA_PLATFORM} "no-such-platform")
execute_process(COMMAND "${PROGRAM}" --version RESULT_VARIABLE status OUTPUT_VARIABLE out
  ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT out STREQUAL "${NAME} ${VERSION}\n" OR NOT errors STREQUAL "")
  message(FATAL_ERROR "${NAME} --version: status ${status}, stdout [${out}], stderr [${errors}]")
endif()
execute_process(COMMAND "${PROGRAM}" --help RESULT_VARIABLE status OUTPUT_VARIABLE out
  ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT out MATCHES "^usage: ${NAME} .*--version" OR NOT errors STREQUAL "")
  message(FATAL_ERROR "${NAME} --help: status ${status}, stdout [${out}], stderr [${errors}]")
endif()

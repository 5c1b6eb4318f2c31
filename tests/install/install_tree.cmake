# Installs the build into a temporary DESTDIR under /usr/local and runs the installed programs
# from there: the files of the installed layout, a generated profile dumped and reported by the
# installed ostiva-cli and the installed ostiva started headless on it.
# Called with -DBUILD=<build folder> -DWORK=<scratch directory>.
cmake_minimum_required(VERSION 3.21)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/home")
set(root "${WORK}/root")
set(prefix "${root}/usr/local")

include("${CMAKE_CURRENT_LIST_DIR}/StageInstall.cmake")
stage_install("${root}" /usr/local)

set(expected bin/ostiva bin/ostiva-cli lib/ostiva/examples/upload2
  share/applications/ostiva.desktop share/mime/packages/ostiva.xml
  share/icons/hicolor/scalable/apps/ostiva.svg share/doc/ostiva/copyright
  share/doc/ostiva/changelog.Debian.gz share/man/man1/ostiva.1.gz share/man/man1/ostiva-cli.1.gz)
foreach(code EN NL DE ES FR)
  list(APPEND expected share/ostiva/ostiva_${code}.ini share/ostiva/manual1_${code}.pdf
    share/ostiva/manual2_${code}.pdf)
endforeach()
foreach(size 16 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/ostiva.png)
endforeach()
set(missing)
foreach(f ${expected})
  if(NOT EXISTS "${prefix}/${f}")
    list(APPEND missing ${f})
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "not installed: ${missing}")
endif()
# The stand-in must never shadow a real transfer program on PATH, and share/ holds no programs.
foreach(f bin/upload2 share/ostiva/examples)
  if(EXISTS "${prefix}/${f}")
    message(FATAL_ERROR "installed: ${f}")
  endif()
endforeach()

# Nothing of the build folder may help the installed programs; writes go to a scratch home.
set(ENV{HOME} "${WORK}/home")
set(ENV{XDG_CONFIG_HOME} "${WORK}/home/.config")
set(ENV{QT_QPA_PLATFORM} offscreen)
set(cli "${prefix}/bin/ostiva-cli")
set(profile "${WORK}/zq0001.xml")

execute_process(COMMAND "${cli}" generate "${profile}" --seed 5 RESULT_VARIABLE status
  ERROR_VARIABLE errors OUTPUT_QUIET)
if(NOT status EQUAL 0 OR NOT EXISTS "${profile}")
  message(FATAL_ERROR "installed ostiva-cli generate: status ${status}: ${errors}")
endif()
execute_process(COMMAND "${cli}" dump "${profile}" RESULT_VARIABLE status
  OUTPUT_VARIABLE record ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT record MATCHES "\"error\": *null")
  message(FATAL_ERROR "installed ostiva-cli dump: status ${status}: ${record} ${errors}")
endif()
# The limits come from the installed language file; one not found would read "Error" and 0
# without a word.
if(NOT record MATCHES "\"NormShortWavesPosText\": *\"0\\.05\"")
  string(REGEX MATCH "\"NormShortWavesPosText\":[^,]*" found "${record}")
  message(FATAL_ERROR "installed ostiva-cli read no installed language file: ${found}")
endif()
execute_process(COMMAND "${cli}" report --kind 0 -o "${WORK}/zq0001.pdf" "${profile}"
  RESULT_VARIABLE status ERROR_VARIABLE errors OUTPUT_QUIET)
if(EXISTS "${WORK}/zq0001.pdf")
  file(READ "${WORK}/zq0001.pdf" head LIMIT 5 HEX) # "%PDF-"
endif()
if(NOT status EQUAL 0 OR NOT head STREQUAL "255044462d")
  message(FATAL_ERROR "installed ostiva-cli report: status ${status}: ${errors}")
endif()

# The desktop program has no way to quit by itself: still running after a while is success,
# a crash or an early failure is not.
execute_process(COMMAND timeout 10 "${prefix}/bin/ostiva" "${profile}"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE errors)
if(NOT status EQUAL 124)
  message(FATAL_ERROR "installed ostiva ended with status ${status}: ${out} ${errors}")
endif()
# Which language file it opened is seen only from outside: a missing one shows no error.
find_program(strace strace)
if(strace)
  execute_process(COMMAND "${strace}" -f -e trace=open,openat -o "${WORK}/opened.log"
    timeout 5 "${prefix}/bin/ostiva" "${profile}" RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(errors MATCHES "ptrace|Operation not permitted")
    message(STATUS "installed ostiva's language file not checked: ${errors}")
  else()
    file(READ "${WORK}/opened.log" opened)
    if(NOT status EQUAL 124 OR NOT opened MATCHES
       "\"${prefix}/share/ostiva/ostiva_EN\\.ini\"[^\n]*= [0-9]+")
      message(FATAL_ERROR "installed ostiva read no installed language file (${status})")
    endif()
  endif()
else()
  message(STATUS "strace missing: installed ostiva's language file not checked")
endif()

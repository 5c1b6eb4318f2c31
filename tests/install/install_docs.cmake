# The documentation a Debian package carries, as installed: the man pages, the changelog and the
# copyright file. The compressed files are gzip -9 without name or time; the man pages format
# without a warning and name every command and option the programs' --help names; the
# changelog parses and its newest entry is this version's first package revision.
# Called with -DBUILD=<build folder> -DWORK=<scratch directory> -DVERSION=<project version>.
cmake_minimum_required(VERSION 3.21)
# A missing tool fails the test: the set-up installs every one of them.
find_program(gzip gzip REQUIRED)
find_program(groff groff REQUIRED)
find_program(parse_changelog dpkg-parsechangelog REQUIRED)

file(REMOVE_RECURSE "${WORK}")
set(prefix "${WORK}/root/usr")
include("${CMAKE_CURRENT_LIST_DIR}/StageInstall.cmake")
stage_install("${WORK}/root" /usr)

# Compressed as Debian wants: deflate, no flags (no name), time 0, maximum compression, Unix.
set(doc "${prefix}/share/doc/ostiva")
set(man "${prefix}/share/man/man1")
foreach(f "${doc}/changelog.Debian.gz" "${man}/ostiva.1.gz" "${man}/ostiva-cli.1.gz")
  file(READ "${f}" head LIMIT 10 HEX)
  if(NOT head STREQUAL "1f8b0800000000000203")
    message(FATAL_ERROR "${f} is not compressed with gzip -9n: ${head}")
  endif()
endforeach()

execute_process(COMMAND "${gzip}" -dc "${doc}/changelog.Debian.gz"
  OUTPUT_FILE "${WORK}/changelog" RESULT_VARIABLE status)
execute_process(COMMAND "${parse_changelog}" -l "${WORK}/changelog"
  OUTPUT_VARIABLE fields ERROR_VARIABLE errors RESULT_VARIABLE parsed)
if(NOT status EQUAL 0 OR NOT parsed EQUAL 0 OR NOT errors STREQUAL ""
   OR NOT fields MATCHES "\nVersion: ${VERSION}-1\n"
   OR NOT fields MATCHES "(^|\n)Source: ostiva\n")
  message(FATAL_ERROR "changelog: ${fields} ${errors}")
endif()

# Machine-readable: the format's URL first, a paragraph for every file, and a text for every
# license it names.
file(READ "${doc}/copyright" copyright)
if(NOT copyright MATCHES "^Format: https://www\\.debian\\.org/doc/packaging-manuals/copyright-format/1\\.0/\n"
   OR NOT copyright MATCHES "\n\nFiles: \\*\nCopyright: [^\n]+\nLicense: ([^\n]+)\n")
  message(FATAL_ERROR "copyright is not in the machine-readable format:\n${copyright}")
endif()
string(REGEX MATCHALL "\nLicense: [^\n]+\n" licenses "${copyright}")
foreach(license ${licenses})
  string(REGEX REPLACE "^\nLicense: (.*)\n$" "\\1" license "${license}")
  string(REPLACE " and " ";" names "${license}")
  foreach(name ${names})
    if(NOT copyright MATCHES "\n\nLicense: ${name}\n [^\n]")
      message(FATAL_ERROR "copyright names the license ${name} without its text")
    endif()
  endforeach()
endforeach()

# program|--help arguments
foreach(case "ostiva|--help" "ostiva-cli|--help")
  string(REPLACE "|" ";" case "${case}")
  list(GET case 0 program)
  execute_process(COMMAND "${gzip}" -dc "${man}/${program}.1.gz"
    OUTPUT_FILE "${WORK}/${program}.1")
  execute_process(COMMAND "${groff}" -man -ww -z -Tutf8 "${WORK}/${program}.1"
    ERROR_VARIABLE warnings RESULT_VARIABLE status)
  file(READ "${WORK}/${program}.1" page)
  string(REPLACE "-" "\\\\-" name "${program}") # "\-" in the page
  if(NOT status EQUAL 0 OR NOT warnings STREQUAL ""
     OR NOT page MATCHES "\n\\.SH NAME\n${name} \\\\- [^\n]+\n"
     OR NOT page MATCHES "^\\.TH [^\n]* 1 ")
    message(FATAL_ERROR "man page of ${program}: ${warnings}")
  endif()
  # What --help names must be in the page: the options and, for ostiva-cli, the commands.
  set(ENV{QT_QPA_PLATFORM} offscreen)
  execute_process(COMMAND "${prefix}/bin/${program}" --help OUTPUT_VARIABLE help
    RESULT_VARIABLE status)
  string(REGEX REPLACE "[][|\n]" " " help "${help}") # brackets would upset CMake's lists
  string(REGEX MATCHALL " --?[a-z][a-z-]*" words "${help}")
  list(TRANSFORM words STRIP)
  string(REGEX MATCHALL "ostiva-cli [a-z][a-z-]*" commands "${help}")
  string(REPLACE "ostiva-cli " "" commands "${commands}")
  string(REPLACE "\\-" "-" text "${page}")
  set(missing)
  foreach(word ${words} ${commands})
    string(REGEX REPLACE "([.+*])" "\\\\\\1" pattern "${word}")
    if(NOT text MATCHES "(^|[^a-z-])${pattern}([^a-z-]|$)")
      list(APPEND missing ${word})
    endif()
  endforeach()
  if(NOT status EQUAL 0 OR missing)
    message(FATAL_ERROR "man page of ${program} lacks what --help names: ${missing}")
  endif()
endforeach()

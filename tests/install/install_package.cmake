# The Debian package as cpack builds it, read with dpkg-deb: its version is the changelog's, its
# long description is in the control format, every entry is root's with 0755 folders and
# programs and 0644 files, it carries the documentation and the man pages, the stand-in
# upload2 lies in /usr/lib/ostiva/examples, no folder is empty, and the programs are stripped
# and carry no run path.
# Called with -DBUILD=<build folder> -DWORK=<scratch directory> -DCPACK=<cpack>
# -DVERSION=<project version>.
cmake_minimum_required(VERSION 3.21)
# A missing tool fails the test: the set-up installs every one of them.
find_program(dpkg_deb dpkg-deb REQUIRED)
find_program(readelf readelf REQUIRED)
find_program(gzip gzip REQUIRED)
find_program(parse_changelog dpkg-parsechangelog REQUIRED)

file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND "${CPACK}" -G DEB --config "${BUILD}/CPackConfig.cmake" -B "${WORK}"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE errors)
file(GLOB deb "${WORK}/ostiva_*.deb")
list(LENGTH deb count)
if(NOT status EQUAL 0 OR NOT count EQUAL 1)
  message(FATAL_ERROR "cpack failed (${status}): ${out} ${errors}")
endif()
file(REMOVE_RECURSE "${WORK}/_CPack_Packages")

execute_process(COMMAND "${dpkg_deb}" -f "${deb}" Version OUTPUT_VARIABLE version
  OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND "${dpkg_deb}" -x "${deb}" "${WORK}/x")
execute_process(COMMAND "${gzip}" -dc "${WORK}/x/usr/share/doc/ostiva/changelog.Debian.gz"
  OUTPUT_FILE "${WORK}/changelog")
execute_process(COMMAND "${parse_changelog}" -l "${WORK}/changelog" -S Version
  OUTPUT_VARIABLE logged OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT version STREQUAL "${VERSION}-1" OR NOT logged STREQUAL version)
  message(FATAL_ERROR "package version ${version}, changelog ${logged}, expected ${VERSION}-1")
endif()

# Description: a synopsis, then lines that each begin with a space, " ." for an empty one; no
# line longer than 80 characters.
execute_process(COMMAND "${dpkg_deb}" -f "${deb}" Description OUTPUT_VARIABLE description
  OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REPLACE "\n" ";" lines "${description}")
list(LENGTH lines count)
if(count LESS 3)
  message(FATAL_ERROR "no long description: ${description}")
endif()
list(POP_FRONT lines synopsis)
foreach(line "${synopsis}" ${lines})
  string(LENGTH "${line}" length)
  if(length GREATER 80)
    message(FATAL_ERROR "description line longer than 80 characters: '${line}'")
  endif()
endforeach()
foreach(line ${lines})
  if(NOT line MATCHES "^ ([^ .]|\\.$|\\.[^ ])")
    message(FATAL_ERROR "description line not in the control format: '${line}'")
  endif()
endforeach()

# The entries: permissions owner/group size date time path.
execute_process(COMMAND "${dpkg_deb}" -c "${deb}" OUTPUT_VARIABLE listing)
string(REGEX REPLACE "\n$" "" listing "${listing}")
string(REPLACE "\n" ";" entries "${listing}")
set(programs ./usr/bin/ostiva ./usr/bin/ostiva-cli ./usr/lib/ostiva/examples/upload2)
set(paths)
set(folders)
foreach(entry ${entries})
  if(NOT entry MATCHES "^([-drwx]+) ([^ ]+) +[0-9]+ [^ ]+ [^ ]+ (.*)$")
    message(FATAL_ERROR "unreadable entry: ${entry}")
  endif()
  set(mode ${CMAKE_MATCH_1})
  set(owner ${CMAKE_MATCH_2})
  set(path ${CMAKE_MATCH_3})
  if(path MATCHES "/$")
    set(want drwxr-xr-x)
    list(APPEND folders "${path}")
  elseif(path IN_LIST programs)
    set(want -rwxr-xr-x)
  else()
    set(want -rw-r--r--)
  endif()
  if(NOT mode STREQUAL want OR NOT owner STREQUAL "root/root")
    message(FATAL_ERROR "${path}: ${mode} ${owner}, expected ${want} root/root")
  endif()
  list(APPEND paths "${path}")
endforeach()
foreach(path ${programs} ./usr/share/doc/ostiva/copyright ./usr/share/doc/ostiva/changelog.Debian.gz
    ./usr/share/man/man1/ostiva.1.gz ./usr/share/man/man1/ostiva-cli.1.gz)
  if(NOT path IN_LIST paths)
    message(FATAL_ERROR "not in the package: ${path}")
  endif()
endforeach()
foreach(path ${paths})
  if(path MATCHES "^\\./usr/share/ostiva/examples/|^\\./usr/bin/upload2$")
    message(FATAL_ERROR "in the package: ${path}")
  endif()
endforeach()
foreach(folder ${folders})
  set(used FALSE)
  foreach(path ${paths})
    string(FIND "${path}" "${folder}" at)
    if(at EQUAL 0 AND NOT path STREQUAL folder)
      set(used TRUE)
      break()
    endif()
  endforeach()
  if(NOT used)
    message(FATAL_ERROR "empty folder in the package: ${folder}")
  endif()
endforeach()

foreach(program ${programs})
  execute_process(COMMAND "${readelf}" -S -d "${WORK}/x/${program}" OUTPUT_VARIABLE elf
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR elf MATCHES "\\.symtab|\\.debug_|\\((RPATH|RUNPATH)\\)")
    message(FATAL_ERROR "${program} is not stripped or has a run path")
  endif()
endforeach()

# The file type as desktops see it after an installation: the staged share/ compiled with
# update-mime-database and update-desktop-database (what the package's triggers run), read
# together with the system's own databases, through GLib (gio) and through Qt.
# GLib takes the plain suffix glob *.xml before zq*.xml, so profile files are application/xml
# there, and Ostiva must be offered for application/xml; Qt weighs the globs and names them
# application/x-ostiva-profile, whose program is Ostiva.
# Called with -DBUILD=<build folder> -DWORK=<scratch directory> -DMIME_TYPE_OF=<helper>.
cmake_minimum_required(VERSION 3.21)
# A missing tool fails the test: the set-up installs every one of them.
find_program(gio gio REQUIRED)
find_program(update_mime update-mime-database REQUIRED)
find_program(update_desktop update-desktop-database REQUIRED)
if(NOT EXISTS /usr/share/mime/globs2)
  message(FATAL_ERROR "no system MIME database in /usr/share/mime (shared-mime-info)")
endif()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/home" "${WORK}/files" "${WORK}/system")
set(share "${WORK}/root/usr/local/share")
include("${CMAKE_CURRENT_LIST_DIR}/StageInstall.cmake")
stage_install("${WORK}/root" /usr/local)
foreach(step "${update_mime};${share}/mime" "${update_desktop};${share}/applications")
  execute_process(COMMAND ${step} RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${step}: ${errors}")
  endif()
endforeach()

# The compiled database: zq*.xml in any letter case, a kind of XML.
file(READ "${share}/mime/globs2" globs)
file(READ "${share}/mime/subclasses" subclasses)
if(NOT globs MATCHES "\n[0-9]+:application/x-ostiva-profile:zq\\*\\.xml\n"
   OR globs MATCHES "x-ostiva-profile:[^\n]*:cs"
   OR NOT subclasses MATCHES "application/x-ostiva-profile application/xml")
  message(FATAL_ERROR "file type not compiled as expected:\n${globs}\n${subclasses}")
endif()

# A desktop session with the staged share first, then the system's MIME database and no other
# program, so that the outcome does not depend on what else this machine has installed; no
# user's own choices. GLib lists a desktop entry only when its Exec program is on PATH.
file(CREATE_LINK /usr/share/mime "${WORK}/system/mime" SYMBOLIC)
set(ENV{XDG_DATA_DIRS} "${share}:${WORK}/system")
set(ENV{XDG_DATA_HOME} "${WORK}/home/.local/share")
set(ENV{XDG_CONFIG_HOME} "${WORK}/home/.config")
set(ENV{XDG_CONFIG_DIRS} "${WORK}/home/etc")
set(ENV{PATH} "${WORK}/root/usr/local/bin:$ENV{PATH}")
set(ENV{HOME} "${WORK}/home")
# gio answers in the user's language; the checks read its English texts.
set(ENV{LC_ALL} "C")
set(ENV{LANGUAGE} "")

set(profiles zq0001.xml ZQ0002.XML)
foreach(name ${profiles})
  file(WRITE "${WORK}/files/${name}" "<?xml version=\"1.0\"?>\n<METING/>\n")
endforeach()
file(WRITE "${WORK}/files/notes.xml" "<?xml version=\"1.0\"?>\n<notes/>\n")

# name|type GLib gives|type Qt gives
set(cases "zq0001.xml|application/xml|application/x-ostiva-profile"
  "ZQ0002.XML|application/xml|application/x-ostiva-profile"
  "notes.xml|application/xml|application/xml")
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" case "${case}")
  list(GET case 0 name)
  list(GET case 1 glib)
  list(GET case 2 qt)
  execute_process(COMMAND "${gio}" info -a standard::content-type "${WORK}/files/${name}"
    OUTPUT_VARIABLE out ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT out MATCHES "standard::content-type: ([^\n]*)")
    message(FATAL_ERROR "gio info ${name}: ${status} ${out} ${errors}")
  endif()
  if(NOT CMAKE_MATCH_1 STREQUAL glib)
    message(FATAL_ERROR "GLib calls ${name} ${CMAKE_MATCH_1}, expected ${glib}")
  endif()
  execute_process(COMMAND "${MIME_TYPE_OF}" "${WORK}/files/${name}"
    OUTPUT_VARIABLE out OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT out STREQUAL qt)
    message(FATAL_ERROR "Qt calls ${name} '${out}' (${status}), expected ${qt}")
  endif()
endforeach()

# "Open With": GLib recommends the programs whose entry names the type itself, for both types;
# with no other program and no choice of the user's, Ostiva is also the default for both, so a
# double-click on any XML file opens it in Ostiva.
foreach(type application/xml application/x-ostiva-profile)
  execute_process(COMMAND "${gio}" mime ${type} OUTPUT_VARIABLE out ERROR_VARIABLE errors
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0
     OR NOT out MATCHES "Recommended applications:\n([^\n]*\n)*\tostiva\\.desktop\n"
     OR NOT out MATCHES "Default application for [^\n]*: ostiva\\.desktop\n")
    message(FATAL_ERROR "Ostiva not offered for ${type}: ${out} ${errors}")
  endif()
endforeach()

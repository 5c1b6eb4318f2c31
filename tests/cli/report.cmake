# The report command: a composite of three profiles in name order (letter case ignored), one
# comparison page, every page written when a profile cannot be read, no input file overwritten,
# and nothing but the command's own messages on stderr.
# Called with -DCLI=<ostiva-cli> -DWORK=<scratch directory> -DLANGUAGE=<language file>.
cmake_minimum_required(VERSION 3.21)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
# Without a runtime folder Qt would warn on stderr; the command prints only its own messages.
unset(ENV{XDG_RUNTIME_DIR})

function(profile name weld)
  file(WRITE "${WORK}/${name}" "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<METING>\r\n"
    "<INFO_MANU LASNR=\"${weld}\" SNELHEID=\"120\"/>\r\n"
    "<TOP_MEAS>\r\n-500 0.1\r\n500 0.1\r\n</TOP_MEAS>\r\n</METING>\r\n")
endfunction()
profile(zqB.xml WELD-B)
profile(zqa.xml WELD-A)
profile(ZQC.XML WELD-C)

# Runs the report command; its stderr is left in `errors`. A success prints nothing there.
function(run expect)
  execute_process(COMMAND "${CLI}" report ${ARGN} RESULT_VARIABLE status ERROR_VARIABLE errors
    OUTPUT_QUIET)
  if(NOT status EQUAL expect)
    message(FATAL_ERROR "report ${ARGN}: exit status ${status}, expected ${expect}: ${errors}")
  endif()
  if(expect EQUAL 0 AND NOT errors STREQUAL "")
    message(FATAL_ERROR "report ${ARGN}: stderr is not empty: ${errors}")
  endif()
  set(errors "${errors}" PARENT_SCOPE)
endfunction()

# The number of pages of a PDF file.
function(page_count pdf result)
  execute_process(COMMAND pdfinfo "${pdf}" OUTPUT_VARIABLE info ERROR_QUIET)
  string(REGEX MATCH "Pages: *([0-9]+)" found "${info}")
  set(${result} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

run(0 --kind 0 --language-file "${LANGUAGE}" -o "${WORK}/all.pdf"
    "${WORK}/zqB.xml" "${WORK}/ZQC.XML" "${WORK}/zqa.xml")
set(welds WELD-A WELD-B WELD-C)
foreach(page RANGE 1 3)
  math(EXPR i "${page} - 1")
  list(GET welds ${i} weld)
  execute_process(COMMAND pdftotext -f ${page} -l ${page} "${WORK}/all.pdf" -
    OUTPUT_VARIABLE text ERROR_QUIET)
  if(NOT text MATCHES "${weld}" OR NOT text MATCHES "OSTIVA")
    message(FATAL_ERROR "page ${page} does not show ${weld}: ${text}")
  endif()
endforeach()
execute_process(COMMAND pdftotext -f 4 -l 4 "${WORK}/all.pdf" - RESULT_VARIABLE status
  OUTPUT_QUIET ERROR_QUIET)
if(status EQUAL 0)
  message(FATAL_ERROR "the composite has a fourth page")
endif()

run(0 --kind 4 --language-file "${LANGUAGE}" --compare "${WORK}/zqB.xml" "${WORK}/zqa.xml"
    -o "${WORK}/compare.pdf")
execute_process(COMMAND pdftotext "${WORK}/compare.pdf" - OUTPUT_VARIABLE text)
execute_process(COMMAND pdftotext -f 2 -l 2 "${WORK}/compare.pdf" - RESULT_VARIABLE second
  OUTPUT_QUIET ERROR_QUIET)
if(NOT text MATCHES "WELD-B" OR NOT text MATCHES "WELD-A" OR second EQUAL 0)
  message(FATAL_ERROR "not one comparison page of both profiles: ${text}")
endif()

# One profile not well-formed, one at a speed outside the table, one missing: each is named on
# stderr, status 1, and every page is written, a bad file's page from what its record holds.
file(WRITE "${WORK}/zqbroken.xml" "<METING><INFO_MANU LASNR=\"WELD-X\"")
file(READ "${WORK}/zqB.xml" text)
string(REPLACE "WELD-B\" SNELHEID=\"120" "WELD-S\" SNELHEID=\"90" text "${text}")
file(WRITE "${WORK}/zqspeed.xml" "${text}")
run(1 --kind 0 --language-file "${LANGUAGE}" -o "${WORK}/batch.pdf" "${WORK}/zqa.xml"
    "${WORK}/zqbroken.xml" "${WORK}/zqspeed.xml" "${WORK}/zq_missing.xml")
foreach(name zqbroken.xml zqspeed.xml zq_missing.xml)
  if(NOT errors MATCHES "${name}")
    message(FATAL_ERROR "${name} is not named on stderr: ${errors}")
  endif()
endforeach()
if(errors MATCHES "zqa.xml")
  message(FATAL_ERROR "a readable profile is reported: ${errors}")
endif()
page_count("${WORK}/batch.pdf" pages)
execute_process(COMMAND pdftotext -f 4 -l 4 "${WORK}/batch.pdf" - OUTPUT_VARIABLE last)
if(NOT pages EQUAL 4 OR NOT last MATCHES "WELD-S")
  message(FATAL_ERROR "not four pages, the last of zqspeed.xml: ${pages} pages, ${last}")
endif()
run(1 --kind 4 --language-file "${LANGUAGE}" --compare "${WORK}/zq_missing.xml" "${WORK}/zqa.xml"
    -o "${WORK}/compare_bad.pdf")
execute_process(COMMAND pdftotext "${WORK}/compare_bad.pdf" - OUTPUT_VARIABLE text)
if(NOT text MATCHES "WELD-A" OR NOT text MATCHES "zq_missing.xml")
  message(FATAL_ERROR "the comparison page of a missing and a good profile: ${text}")
endif()

# -o naming an input file, by another path, a symbolic or a hard link: refused, nothing written.
file(CREATE_LINK "${WORK}/zqa.xml" "${WORK}/symbolic.xml" SYMBOLIC)
file(CREATE_LINK "${WORK}/zqa.xml" "${WORK}/hard.xml")
file(READ "${WORK}/zqa.xml" before)
foreach(output "${WORK}/zqa.xml" "${WORK}/../cli_report/zqa.xml" "${WORK}/symbolic.xml"
               "${WORK}/hard.xml" "${LANGUAGE}")
  run(2 --kind 0 --language-file "${LANGUAGE}" -o "${output}" "${WORK}/zqB.xml" "${WORK}/zqa.xml")
endforeach()
run(2 --kind 0 --language-file "${LANGUAGE}" --compare "${WORK}/zqB.xml" "${WORK}/hard.xml"
    -o "${WORK}/zqa.xml")
file(READ "${WORK}/zqa.xml" after)
if(NOT before STREQUAL after)
  message(FATAL_ERROR "an input profile was overwritten")
endif()

# A language file named but not there: status 2 with a clear message, nothing written.
run(2 --kind 0 --language-file "${WORK}/ostiva_XX.ini" -o "${WORK}/nolanguage.pdf"
    "${WORK}/zqa.xml")
if(NOT errors MATCHES "language file .*ostiva_XX.ini does not exist")
  message(FATAL_ERROR "no clear message: ${errors}")
endif()

# The output folder does not exist: status 1, nothing written.
run(1 --kind 0 --language-file "${LANGUAGE}" -o "${WORK}/no/such/dir/x.pdf" "${WORK}/zqa.xml")
file(GLOB left "${WORK}/*.pdf*")
list(SORT left)
set(expected "${WORK}/all.pdf;${WORK}/batch.pdf;${WORK}/compare.pdf;${WORK}/compare_bad.pdf")
if(NOT left STREQUAL expected)
  message(FATAL_ERROR "files left behind: ${left}")
endif()

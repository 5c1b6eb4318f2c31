# The report command: a composite of three profiles in name order (letter case ignored), one
# comparison page, and no file left behind when a profile cannot be read.
# Called with -DCLI=<ostiva-cli> -DWORK=<scratch directory> -DLANGUAGE=<language file>.
cmake_minimum_required(VERSION 3.21)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

function(profile name weld)
  file(WRITE "${WORK}/${name}" "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<METING>\r\n"
    "<INFO_MANU LASNR=\"${weld}\" SNELHEID=\"120\"/>\r\n"
    "<TOP_MEAS>\r\n-500 0.1\r\n500 0.1\r\n</TOP_MEAS>\r\n</METING>\r\n")
endfunction()
profile(zqB.xml WELD-B)
profile(zqa.xml WELD-A)
profile(ZQC.XML WELD-C)

function(run expect)
  execute_process(COMMAND "${CLI}" report ${ARGN} RESULT_VARIABLE status ERROR_VARIABLE errors
    OUTPUT_QUIET)
  if(NOT status EQUAL expect)
    message(FATAL_ERROR "report ${ARGN}: exit status ${status}, expected ${expect}: ${errors}")
  endif()
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

# A profile that cannot be read: status 1, and the old file stays as it was.
file(WRITE "${WORK}/old.pdf" "old")
run(1 --kind 0 --language-file "${LANGUAGE}" -o "${WORK}/old.pdf" "${WORK}/zqa.xml"
    "${WORK}/zq_missing.xml")
run(1 --kind 0 --language-file "${LANGUAGE}" --compare "${WORK}/zq_missing.xml" "${WORK}/zqa.xml"
    -o "${WORK}/old.pdf")
file(READ "${WORK}/old.pdf" old)
if(NOT old STREQUAL "old")
  message(FATAL_ERROR "a failed report changed the output file")
endif()
# A folder that does not exist: status 1, nothing written.
run(1 --kind 0 --language-file "${LANGUAGE}" -o "${WORK}/no/such/dir/x.pdf" "${WORK}/zqa.xml")
file(GLOB left "${WORK}/*.pdf*")
list(LENGTH left count)
if(NOT count EQUAL 3)
  message(FATAL_ERROR "files left behind: ${left}")
endif()

# Searches a project of known profiles and checks the names printed and the exit status.
# Called with -DCLI=<ostiva-cli> -DWORK=<scratch directory>.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/zq_dir.xml")

# Flat profiles at 120 km/h: QI = 6 * height (A = 2.0), lateral QI = max(POSP, -NEGP) / 0.5.
function(flat_profile name operator switch height posp)
  set(pairs "")
  if(NOT height STREQUAL "")
    foreach(k RANGE 200)
      math(EXPR x "-500 + 5 * ${k}")
      string(APPEND pairs "${x} ${height}\r\n")
    endforeach()
  endif()
  set(zij "")
  if(NOT posp STREQUAL "")
    set(zij "-500 0.1\r\n-495 0.1\r\n")
  endif()
  file(WRITE "${WORK}/${name}" "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<METING>\r\n"
    "<INFO_MANU LASSER=\"${operator}\" WISSEL=\"${switch}\" SNELHEID=\"120\"/>\r\n"
    "<TOP_MEAS>\r\n${pairs}</TOP_MEAS>\r\n"
    "<ZIJ_MEAS POSP=\"${posp}\" NEGP=\"-0.1\">\r\n${zij}</ZIJ_MEAS>\r\n</METING>\r\n")
endfunction()
flat_profile(zq_a.xml "Jansen" "Wissel 12A" 0.1 0.2)             # QI 0.60, lateral 0.40
flat_profile(ZQ_B.XML "PIETER JAN" "KM 12.3 / WISSEL 4" 0.2 0.6) # QI 1.20, lateral 1.20
flat_profile(zq_c.xml "" "km 7" 0.05 "")                         # QI 0.30, no lateral samples
flat_profile(zq_d.xml "jan" "" "" 0.1)                           # no vertical samples, lateral 0.20
flat_profile(notes.xml "Jan" "Wissel" 0.1 0.2)                   # not a profile name
# Cut off after the header: it could meet any criterion but cannot be read, so it is never
# printed and every search names it on stderr.
file(WRITE "${WORK}/zq_e.xml" "<?xml version=\"1.0\"?>\r\n<METING>\r\n"
  "<INFO_MANU LASSER=\"Jan\" WISSEL=\"Wissel 1\" SNELHEID=\"120\"/>\r\n")
# Generated operators hold no "jan", generated switches ("W12 / 34.567") neither "wissel" nor
# "km"; a speed outside the table gives no quality index.
foreach(seed 1 2)
  execute_process(COMMAND "${CLI}" generate "${WORK}/zq_g${seed}.xml" --seed ${seed} --speed 90
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "generate exit status ${status}")
  endif()
endforeach()

function(expect_search expectStatus expectNames)
  execute_process(COMMAND "${CLI}" search "${WORK}" ${ARGN}
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  string(REPLACE ";" "\n" expected "${expectNames}")
  if(NOT expected STREQUAL "")
    string(APPEND expected "\n")
  endif()
  if(NOT status EQUAL expectStatus OR NOT output STREQUAL expected)
    message(FATAL_ERROR "search ${ARGN}: exit status ${status} (expected ${expectStatus}), "
                        "printed\n${output}expected\n${expected}${errors}")
  endif()
  if(NOT errors MATCHES "^ostiva-cli: zq_e.xml could not be read: XMLFile [^\n]*/zq_e.xml load error: [^\n]*\n$")
    message(FATAL_ERROR "search ${ARGN}: the unreadable profile not named once on stderr:\n${errors}")
  endif()
endfunction()

expect_search(0 "zq_a.xml;ZQ_B.XML;zq_c.xml;zq_d.xml;zq_g1.xml;zq_g2.xml")
expect_search(0 "zq_a.xml;ZQ_B.XML;zq_d.xml" --operator JAN)
expect_search(0 "zq_a.xml;zq_c.xml" --qi-top 1.0)
expect_search(0 "zq_a.xml;zq_d.xml" --qi-zij 0.5)
expect_search(0 "zq_a.xml;ZQ_B.XML" --switch wissel)
expect_search(0 "ZQ_B.XML;zq_c.xml" --switch KM)
expect_search(0 "zq_a.xml" --switch wissel --qi-top 1.0 --operator JAN)
expect_search(1 "" --switch "wissel 4" --qi-zij 1.0)
# A language file without the criteria's keys: the limits still come from the command line.
file(WRITE "${WORK}/empty.ini" "")
expect_search(0 "zq_a.xml" --qi-top 1.0 --operator jan --language-file "${WORK}/empty.ini")
expect_search(1 "" --qi-top 0.2)
# An empty text matches nothing (ARGN would drop the empty argument).
execute_process(COMMAND "${CLI}" search "${WORK}" --operator ""
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 1 OR NOT output STREQUAL "")
  message(FATAL_ERROR "empty operator text: exit status ${status}, printed ${output}${errors}")
endif()
# The hand profiles have no weld number: the record reads "not found", which is no text.
expect_search(1 "" --weld found)

# A language file named on the command line that cannot be read is a wrong command line.
execute_process(COMMAND "${CLI}" search "${WORK}" --qi-top 1.0 --language-file "${WORK}/zq_dir.xml"
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 2 OR NOT output STREQUAL "" OR NOT errors MATCHES "cannot be read")
  message(FATAL_ERROR "unreadable language file: exit status ${status}, printed ${output}${errors}")
endif()

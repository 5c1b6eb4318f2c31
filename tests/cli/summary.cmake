# Summarises a project of hand-worked profiles and checks the table, the formats, the -o rule
# and the exit status, and that the indices agree with dump at every table speed.
# Called with -DCLI=<ostiva-cli> -DWORK=<scratch directory> -DLANGUAGE=<language file>.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/p")
set(P "${WORK}/p")

# Flat profiles of `height` mm: only the first weighted inclination counts, 0.3 * h / 25 mm, so
# QI = 12 * height / A (A: 3.2 at 40, 2.4 at 80, 2.0 at 120, 1.0 at 300 km/h); the lateral
# index is max(POSP, -NEGP) / L (L: 1.0 at 40, 0.7 at 60 and 80, 0.5 from 100 on).
function(flat_profile name speed height posp weld)
  set(pairs "")
  if(NOT height STREQUAL "")
    foreach(k RANGE 200)
      math(EXPR x "-500 + 5 * ${k}")
      string(APPEND pairs "${x} ${height}\n")
    endforeach()
  endif()
  file(WRITE "${P}/${name}" "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<METING>\n"
    "<INFO_MANU LASNR=\"${weld}\" PLAATS=\"Oost\" SPOOR=\"2\" WISSEL=\"W1\" SNELHEID=\"${speed}\"/>\n"
    "<TOP_MEAS>\n${pairs}</TOP_MEAS>\n"
    "<ZIJ_MEAS POSP=\"${posp}\" NEGP=\"-0.1\">\r\n-500 0.1\r\n-495 0.1\r\n</ZIJ_MEAS>\n"
    "</METING>\n")
endfunction()
# At 80: QI 12 * 0.2 / 2.4 = 1.00 exactly, lateral 0.35 / 0.7 = 0.50; at 100 QI 1.09.
flat_profile(zq_a.xml 80 0.2 0.35 "L1")
# Within at 300: QI 0.6 / 1.0 = 0.60, lateral 0.5 / 0.5 = 1.00 exactly.
flat_profile(ZQ_B.XML 120 0.05 0.5 "L2")
# At 40 already: QI 3.6 / 3.2 = 1.13; own speed 120: QI 1.80, lateral 0.40.
flat_profile(zq_c.xml 120 0.3 0.2 "L3")
# Lateral 0.51 / 0.5 = 1.02 from 100 on, 0.73 at 80; QI at 80: 0.6 / 2.4 = 0.25.
flat_profile(zq_d.xml 120 0.05 0.51 "x,&quot;y&quot;")
# No vertical samples: no assessment at any speed.
flat_profile(zq_e.xml 120 "" 0.2 "L5")
# A speed outside the table: no index at the own speed, but the table speeds can be judged.
flat_profile(zq_f.xml 90 0.05 0.2 "L6")
file(WRITE "${P}/zq_g.xml" "<?xml version=\"1.0\"?>\r\n<METING>\n")
file(WRITE "${P}/notes.xml" "not a profile")

function(run expectStatus)
  # Through a file, read as hex for the line ends: CMake drops carriage returns from text.
  execute_process(COMMAND "${CLI}" summary ${ARGN} RESULT_VARIABLE status
    OUTPUT_FILE "${WORK}/stdout" ERROR_VARIABLE errors)
  file(READ "${WORK}/stdout" output)
  file(READ "${WORK}/stdout" hex HEX)
  string(REGEX MATCHALL "0a" lf "${hex}")
  string(REGEX MATCHALL "0d0a" crlf "${hex}")
  list(LENGTH lf lfCount)
  list(LENGTH crlf crlfCount)
  set(lineEnds "${lfCount}/${crlfCount}" PARENT_SCOPE)
  if(NOT status EQUAL expectStatus)
    message(FATAL_ERROR "summary ${ARGN}: exit status ${status}, expected ${expectStatus}\n${errors}")
  endif()
  set(output "${output}" PARENT_SCOPE)
  set(errors "${errors}" PARENT_SCOPE)
endfunction()

set(header "File,LasNr,Plaats,Spoor,Wissel,Datum,Tijd,LasSer,Snelheid,QI,QIZij,Verdict,MaxSpeed,error\n")
run(1 "${P}" --language-file "${LANGUAGE}")
string(REGEX REPLACE "zq_g.xml,[^\n]*\n$" "zq_g.xml,CUT\n" shown "${output}")
set(expected "${header}"
  "zq_a.xml,L1,Oost,2,W1,not found,not found,not found,80, 1.00, 0.50,within,80,\n"
  "ZQ_B.XML,L2,Oost,2,W1,not found,not found,not found,120, 0.30, 1.00,within,300,\n"
  "zq_c.xml,L3,Oost,2,W1,not found,not found,not found,120, 1.80, 0.40,outside,,\n"
  "zq_d.xml,\"x,\"\"y\"\"\",Oost,2,W1,not found,not found,not found,120, 0.30, 1.02,outside,80,\n"
  "zq_e.xml,L5,Oost,2,W1,not found,not found,not found,120,, 0.40,no assessment,,\n"
  "zq_f.xml,L6,Oost,2,W1,not found,not found,not found,90,,,no assessment,300,Floating point division by zero\n"
  "zq_g.xml,CUT\n")
string(JOIN "" expected ${expected})
if(NOT shown STREQUAL expected OR NOT lineEnds STREQUAL "8/8")
  message(FATAL_ERROR "summary CSV:\n${output}expected\n${expected}")
endif()
if(NOT output MATCHES "zq_g.xml,,,,,,,,,,,no assessment,,\"?XMLFile [^\n]*zq_g.xml load error"
   OR NOT errors MATCHES "^ostiva-cli: zq_g.xml could not be read: XMLFile")
  message(FATAL_ERROR "unreadable profile:\n${output}${errors}")
endif()

# At 300: only ZQ_B stays within; JSON with MaxSpeed a number or null, error null or a text.
run(1 "${P}" --speed 300 --format json --language-file "${LANGUAGE}")
if(NOT lineEnds STREQUAL "7/0")
  message(FATAL_ERROR "JSON lines end in a line feed only: ${lineEnds}")
endif()
string(REGEX MATCHALL "[^\n]+\n" lines "${output}")
list(GET lines 1 b)
set(expectB "{\"File\":\"ZQ_B.XML\",\"LasNr\":\"L2\",\"Plaats\":\"Oost\",\"Spoor\":\"2\",\"Wissel\":\"W1\",\"Datum\":\"not found\",\"Tijd\":\"not found\",\"LasSer\":\"not found\",\"Snelheid\":\"300\",\"QI\":\" 0.60\",\"QIZij\":\" 1.00\",\"Verdict\":\"within\",\"MaxSpeed\":300,\"error\":null}\n")
if(NOT b STREQUAL expectB)
  message(FATAL_ERROR "summary JSON line:\n${b}expected\n${expectB}")
endif()
list(GET lines 2 c)
if(NOT c MATCHES "\"QI\":\" 3.60\".*\"Verdict\":\"outside\",\"MaxSpeed\":null,\"error\":null}")
  message(FATAL_ERROR "summary JSON, profile failing at 40: ${c}")
endif()

# The indices agree with dump at every table speed.
foreach(speed 40 60 80 100 120 140 160 180 200 250 300)
  run(1 "${P}" --speed ${speed} --format json --language-file "${LANGUAGE}")
  string(REGEX MATCHALL "[^\n]+\n" lines "${output}")
  foreach(i RANGE 5)
    list(GET lines ${i} line)
    string(JSON file GET "${line}" File)
    execute_process(COMMAND "${CLI}" dump "${P}/${file}" --speed ${speed}
      --language-file "${LANGUAGE}" OUTPUT_VARIABLE dumped)
    foreach(key QI QIZij Snelheid LasNr)
      string(JSON a GET "${line}" ${key})
      string(JSON b GET "${dumped}" ${key})
      if(NOT a STREQUAL b)
        message(FATAL_ERROR "${file} at ${speed}: ${key} \"${a}\", dump gives \"${b}\"")
      endif()
    endforeach()
  endforeach()
endforeach()

# A separator for spreadsheets with a decimal comma; -o written, never over a profile.
file(REMOVE "${P}/zq_g.xml")
# Outside run(): a ";" cannot pass through ARGN.
string(ASCII 59 semicolon)
execute_process(COMMAND "${CLI}" summary "${P}" --separator "${semicolon}" -o "${WORK}/out.csv"
  --language-file "${LANGUAGE}" RESULT_VARIABLE status OUTPUT_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "--separator ';': exit status ${status}")
endif()
file(READ "${WORK}/out.csv" written)
string(REPLACE "\r" "" written "${written}")
if(NOT output STREQUAL "" OR NOT written MATCHES "^File;LasNr;.*\nzq_d.xml;\"x,\"\"y\"\"\";Oost;")
  message(FATAL_ERROR "-o with ';':\n${written}")
endif()
file(READ "${P}/zq_a.xml" before)
run(2 "${P}" -o "${P}/zq_a.xml" --language-file "${LANGUAGE}")
run(2 "${P}" -o "${P}/ZQ_new.xml" --language-file "${LANGUAGE}")
file(READ "${P}/zq_a.xml" after)
if(NOT before STREQUAL after OR EXISTS "${P}/ZQ_new.xml")
  message(FATAL_ERROR "-o replaced or added a profile")
endif()
string(ASCII 10 lineFeed)
string(ASCII 13 carriageReturn)
foreach(bad "--format;xml" "--separator;\"" "--speed;fast" "--separator;ab"
    "--separator;${lineFeed}" "--separator;${carriageReturn}")
  run(2 "${P}" ${bad})
endforeach()
# A folder that is not there, or a file, is a failure, not an empty table; so is an -o that
# cannot be written.
foreach(notAFolder "${WORK}/missing" "${P}/zq_a.xml")
  run(1 "${notAFolder}" --language-file "${LANGUAGE}")
  if(NOT output STREQUAL "" OR NOT errors MATCHES "is not a directory")
    message(FATAL_ERROR "summary of ${notAFolder}:\n${output}${errors}")
  endif()
endforeach()
run(1 "${P}" -o "${WORK}/missing/out.csv" --language-file "${LANGUAGE}")
if(EXISTS "${WORK}/missing" OR NOT errors MATCHES "^ostiva-cli: ")
  message(FATAL_ERROR "-o into a missing folder:\n${errors}")
endif()
run(2)
run(0 --help)
if(NOT output MATCHES "^usage: ostiva-cli summary DIR")
  message(FATAL_ERROR "summary --help: ${output}")
endif()

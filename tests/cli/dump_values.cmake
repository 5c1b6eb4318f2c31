# Checks the values of dumped records, read back from the JSON: header texts with characters
# JSON must escape, the quality indices, the error a record reports, and a profile file that
# does not exist.
# Called with -DCLI=<ostiva-cli> -DWORK=<scratch directory>.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(good "${WORK}/zq_good.xml")
set(unknownSpeed "${WORK}/zq_speed90.xml")
set(missing "${WORK}/zq_missing.xml")
set(profile [=[<?xml version="1.0" encoding="UTF-8"?>
<METING><INFO_AUTO DEVICE="7" EIGENAAR="Caf&#233;"/>
<INFO_MANU PLAATS="say &quot;hi&quot; \ back" LASSER="Zoë" SNELHEID="@SPEED@"/>
<TOP_MEAS POSP="0.1">-500 0 -495 0 -490 0 -485 0.1 -480 0.1 -475 0.2 -470 0.1 -465 0.1
</TOP_MEAS></METING>
]=])
string(REPLACE "@SPEED@" "80" text "${profile}")
file(WRITE "${good}" "${text}")
string(REPLACE "@SPEED@" "90" text "${profile}")
file(WRITE "${unknownSpeed}" "${text}")

execute_process(COMMAND "${CLI}" dump "${good}" "${unknownSpeed}" "${missing}"
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "exit status ${status}: ${errors}")
endif()

function(expect_field line key expected)
  string(JSON value ERROR_VARIABLE jsonError GET "${line}" ${key})
  if(jsonError)
    message(FATAL_ERROR "${key}: ${jsonError} in ${line}")
  endif()
  if(NOT value STREQUAL expected)
    message(FATAL_ERROR "${key} is '${value}', expected '${expected}'")
  endif()
endfunction()

# Walks the lines by hand: a list would split them at every ";" of the JSON as well.
set(lines)
foreach(i RANGE 2)
  string(FIND "${output}" "\n" lineEnd)
  if(lineEnd EQUAL -1)
    message(FATAL_ERROR "fewer than three lines: ${output}")
  endif()
  string(SUBSTRING "${output}" 0 ${lineEnd} line${i})
  math(EXPR next "${lineEnd} + 1")
  string(SUBSTRING "${output}" ${next} -1 output)
endforeach()

expect_field("${line0}" Plaats "say \"hi\" \\ back")
expect_field("${line0}" LasSer "Zoë")
expect_field("${line0}" Eigenaar "Café")
expect_field("${line0}" Snelheid "80")
expect_field("${line0}" Norm "2.40")
# Means of samples 4-8 and 9-13: 0.12 and 0 mm; segment 2 falls 0.12 mm over 25 mm, weighted
# 0.7: 3.36 mrad over A = 2.4 gives 1.40. No ZIJ_MEAS samples: no lateral index at all.
expect_field("${line0}" QI " 1.40")
expect_field("${line0}" QIZij "")
string(JSON errorType TYPE "${line0}" error)
if(NOT errorType STREQUAL "NULL")
  message(FATAL_ERROR "a good record reports an error: ${line0}")
endif()
expect_field("${line1}" error "Floating point division by zero")
expect_field("${line1}" QI "")
expect_field("${line2}" error "XMLFile ${missing} load error: File was not found")
expect_field("${line2}" FileName "zq_missing.xml")

# Dumps every profile of the demo project and checks that each gives one JSON line of a record
# built without error. Called with -DCLI=<ostiva-cli> -DDEMO=<demo directory>.
file(GLOB profiles "${DEMO}/zq*.xml")
list(LENGTH profiles count)
if(count LESS 10)
  message(FATAL_ERROR "demo project ${DEMO} holds ${count} profiles")
endif()
execute_process(COMMAND "${CLI}" dump ${profiles}
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "exit status ${status}: ${errors}")
endif()
# Walks the lines by hand: a list would split them at every ";" of the JSON as well.
set(lineCount 0)
foreach(profile IN LISTS profiles)
  string(FIND "${output}" "\n" lineEnd)
  if(lineEnd EQUAL -1)
    message(FATAL_ERROR "${count} profiles gave ${lineCount} lines")
  endif()
  string(SUBSTRING "${output}" 0 ${lineEnd} line)
  math(EXPR next "${lineEnd} + 1")
  string(SUBSTRING "${output}" ${next} -1 output)
  math(EXPR lineCount "${lineCount} + 1")

  get_filename_component(name "${profile}" NAME)
  string(JSON fileName ERROR_VARIABLE jsonError GET "${line}" FileName)
  if(jsonError)
    message(FATAL_ERROR "not JSON (${jsonError}): ${line}")
  endif()
  string(JSON errorType TYPE "${line}" error)
  string(JSON qi GET "${line}" QI)
  string(JSON topMeasCount LENGTH "${line}" TopMeas)
  string(JSON newNormCount LENGTH "${line}" NewNormProfile)
  string(JSON captionCount LENGTH "${line}" SeriesCaption)
  if(NOT fileName STREQUAL name OR NOT errorType STREQUAL "NULL" OR qi STREQUAL ""
     OR NOT topMeasCount EQUAL 202 OR NOT newNormCount EQUAL 41 OR NOT captionCount EQUAL 20)
    message(FATAL_ERROR "bad record for ${name}: FileName ${fileName}, error ${errorType}, "
                        "QI '${qi}', ${topMeasCount} TopMeas, ${newNormCount} NewNormProfile, "
                        "${captionCount} captions")
  endif()
endforeach()
if(NOT output STREQUAL "")
  message(FATAL_ERROR "more lines than profiles: ${output}")
endif()

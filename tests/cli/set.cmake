# The set command as a process: two profiles written with a name containing a space and a
# new speed, read back with dump; a read-only profile among them is named on stderr, left as
# it was, and the others are still written (exit status 1).
# Called with -DCLI=<ostiva-cli> -DWORK=<scratch directory> -DLANGUAGE=<language file>.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
foreach(name a b locked)
  execute_process(COMMAND "${CLI}" generate "${WORK}/zq_${name}.xml" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "generate ${name}: exit status ${status}")
  endif()
endforeach()
file(CHMOD "${WORK}/zq_locked.xml" PERMISSIONS OWNER_READ GROUP_READ WORLD_READ)
file(READ "${WORK}/zq_locked.xml" lockedBefore HEX)

function(run_set expect)
  execute_process(COMMAND "${CLI}" set --field "LasSer=Piet de Vries" --language-file
                          "${LANGUAGE}" --field Snelheid=40 ${ARGN}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE errors)
  if(NOT status EQUAL expect OR NOT out STREQUAL "")
    message(FATAL_ERROR "set ${ARGN}: exit status ${status}, stdout [${out}], stderr [${errors}]")
  endif()
  set(errors "${errors}" PARENT_SCOPE)
endfunction()

run_set(0 "${WORK}/zq_a.xml")
if(NOT errors STREQUAL "")
  message(FATAL_ERROR "stderr [${errors}]")
endif()
run_set(1 "${WORK}/zq_locked.xml" "${WORK}/zq_b.xml")
if(NOT errors MATCHES "^ostiva-cli: ${WORK}/zq_locked.xml: [^\n]+\n$")
  message(FATAL_ERROR "stderr [${errors}]")
endif()
file(READ "${WORK}/zq_locked.xml" lockedAfter HEX)
if(NOT lockedAfter STREQUAL lockedBefore)
  message(FATAL_ERROR "the read-only profile was changed")
endif()

foreach(name a b)
  execute_process(COMMAND "${CLI}" dump "${WORK}/zq_${name}.xml" --language-file "${LANGUAGE}"
    OUTPUT_VARIABLE line)
  string(JSON operator GET "${line}" LasSer)
  string(JSON speed GET "${line}" Snelheid)
  if(NOT operator STREQUAL "Piet de Vries" OR NOT speed STREQUAL "40")
    message(FATAL_ERROR "${name}: LasSer '${operator}', Snelheid '${speed}'")
  endif()
endforeach()
file(GLOB leftovers "${WORK}/.*")
if(leftovers)
  message(FATAL_ERROR "left behind: ${leftovers}")
endif()

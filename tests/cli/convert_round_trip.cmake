# Converts every example circuit to clipboard text and back with kelno-cli, and checks
# that nothing changed on the way: the same points, elements, values and currents, and the
# same text when the result is converted again.
#
# cmake -DCLI=path/to/kelno-cli -DEXAMPLES=dir -DWORK=dir -P convert_round_trip.cmake

function(run_cli)
  execute_process(COMMAND ${CLI} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "kelno-cli ${ARGN} failed (${status}): ${err}")
  endif()
  set(cli_output "${out}" PARENT_SCOPE)
endfunction()

file(MAKE_DIRECTORY ${WORK})
file(GLOB examples ${EXAMPLES}/*.kel)
if(NOT examples)
  message(FATAL_ERROR "no example circuits in ${EXAMPLES}")
endif()

foreach(kel IN LISTS examples)
  get_filename_component(name ${kel} NAME_WE)
  set(text ${WORK}/${name}.txt)
  set(back ${WORK}/${name}.kel)
  set(text_again ${WORK}/${name}-again.txt)

  run_cli(convert ${kel} ${text})
  run_cli(convert ${text} ${back})
  run_cli(convert ${back} ${text_again})

  run_cli(analyze ${kel} --json)
  set(original "${cli_output}")
  run_cli(analyze ${back} --json)
  if(NOT original STREQUAL cli_output)
    message(FATAL_ERROR "${name}: the circuit changed on its way through the text\n"
                        "${original}\n${cli_output}")
  endif()

  file(READ ${text} first HEX)
  file(READ ${text_again} second HEX)
  if(NOT first STREQUAL second)
    message(FATAL_ERROR "${name}: converting the result again gives other text")
  endif()
  message(STATUS "${name}: unchanged")
endforeach()

# For the scripts that walk a program's commands (cmake -P): the commands
# PROGRAM lists with --commands, one a line, as a list of their words.
function(program_commands out)
  execute_process(COMMAND "${PROGRAM}" --commands OUTPUT_VARIABLE listed RESULT_VARIABLE rc
                  TIMEOUT 20)
  if(NOT rc EQUAL 0 OR listed STREQUAL "")
    message(FATAL_ERROR "${PROGRAM} --commands failed")
  endif()
  string(STRIP "${listed}" listed)
  string(REPLACE "\n" ";" listed "${listed}")
  set(${out} "${listed}" PARENT_SCOPE)
endfunction()

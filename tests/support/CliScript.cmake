# Helpers of the command-line test scripts (run with cmake -P); include() this file.

# expect(MESSAGE CONDITION...): fails with MESSAGE unless the if() condition holds.
function(expect message)
  if(NOT (${ARGN}))
    message(FATAL_ERROR "${message}")
  endif()
endfunction()

# run(RC STDOUT STDERR COMMAND...): runs a command and hands back its exit status and both outputs.
function(run out_rc out_stdout out_stderr)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
  set(${out_rc} "${rc}" PARENT_SCOPE)
  set(${out_stdout} "${stdout}" PARENT_SCOPE)
  set(${out_stderr} "${stderr}" PARENT_SCOPE)
endfunction()

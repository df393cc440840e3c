# Runs PROGRAM with ARGS (a ;-list) and fails unless it exits with EXIT_CODE and its
# output matches OUTPUT. Run through `cmake -E env --unset=...` for a machine with no display.
execute_process(COMMAND ${PROGRAM} ${ARGS} RESULT_VARIABLE code OUTPUT_VARIABLE out
                ERROR_VARIABLE out TIMEOUT 30)
if(NOT code STREQUAL EXIT_CODE OR NOT out MATCHES "${OUTPUT}")
    message(FATAL_ERROR "${PROGRAM} ${ARGS}: exit ${code}, expected ${EXIT_CODE}; output:\n${out}")
endif()

# Runs PROGRAM (through EMULATOR when set) with an option no command knows, and checks
# its exit status and that its only output is one usage line on stderr. Output goes to
# files: Wine's background server would hold pipes open long after the program ended.
set(out_file ${CMAKE_CURRENT_BINARY_DIR}/kitloom-cli-usage.out)
set(err_file ${CMAKE_CURRENT_BINARY_DIR}/kitloom-cli-usage.err)
execute_process(COMMAND ${EMULATOR} ${PROGRAM} add --no-such-option
                RESULT_VARIABLE status OUTPUT_FILE ${out_file} ERROR_FILE ${err_file})
file(READ ${out_file} out)
file(READ ${err_file} err)
file(REMOVE ${out_file} ${err_file})
if(NOT status EQUAL EXPECTED_STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${EXPECTED_STATUS}; stderr: ${err}")
endif()
if(NOT out STREQUAL "" OR NOT err MATCHES "^usage: [^\n]*\n$")
  message(FATAL_ERROR "expected one usage line on stderr; stdout: '${out}' stderr: '${err}'")
endif()

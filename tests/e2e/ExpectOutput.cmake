# cmake -DPROGRAM=... -DARGS="a;b" -DEXPECT=<regex> -P ExpectOutput.cmake
# Runs PROGRAM and fails unless it exits with 0 and its standard output matches EXPECT
# (CTest's own output check alone would pass a program that printed the line and failed).
execute_process(COMMAND "${PROGRAM}" ${ARGS} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "${PROGRAM} ended with ${status}\n${out}${err}")
endif()
if(NOT out MATCHES "${EXPECT}")
  message(FATAL_ERROR "${PROGRAM} printed what was not expected:\n${out}")
endif()

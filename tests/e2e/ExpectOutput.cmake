# cmake -DPROGRAM=... -DARGS="a;b" -DEXPECT=<regex> [-DSTATUS=n] [-DOUTPUT_FILE=path] -P ExpectOutput.cmake
# Runs PROGRAM and fails unless it exits with STATUS (default 0) and what it printed
# (standard output, then standard error) matches EXPECT. CTest's own output check alone
# would pass a program that printed the line and then failed. With OUTPUT_FILE, standard
# output goes there instead (/dev/full: a write that fails).
if(NOT DEFINED STATUS)
  set(STATUS 0)
endif()
set(_redirect)
if(DEFINED OUTPUT_FILE)
  set(_redirect OUTPUT_FILE "${OUTPUT_FILE}")
endif()
execute_process(COMMAND "${PROGRAM}" ${ARGS} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status ${_redirect})
if(NOT status STREQUAL "${STATUS}")
  message(FATAL_ERROR "${PROGRAM} ended with ${status}, not ${STATUS}\n${out}${err}")
endif()
if(NOT "${out}${err}" MATCHES "${EXPECT}")
  message(FATAL_ERROR "${PROGRAM} printed what was not expected:\n${out}${err}")
endif()

# Installs the libraries of VANDORA_BUILD into WORK/prefix, checks FORM with the form tool
# installed with them, builds EXAMPLE against that prefix alone, and runs it with --check.
include(${CMAKE_CURRENT_LIST_DIR}/RunStep.cmake)

file(REMOVE_RECURSE ${WORK})
run("Installing the libraries"
    ${CMAKE_COMMAND} --install ${VANDORA_BUILD} --prefix ${WORK}/prefix --component Development)
# Of the programs only the form tool, which the control's documentation refers to.
file(GLOB programs RELATIVE ${WORK}/prefix/bin ${WORK}/prefix/bin/*)
if(NOT programs STREQUAL "vandora-form")
  message(FATAL_ERROR "The Development component installed the programs \"${programs}\", not vandora-form alone")
endif()
run("Checking a form with the installed form tool" ${WORK}/prefix/bin/vandora-form check ${FORM})
if(NOT output MATCHES "a valid text form")
  message(FATAL_ERROR "The installed form tool did not find ${FORM} valid: ${output}")
endif()
run("Configuring the example"
    ${CMAKE_COMMAND} -S ${EXAMPLE} -B ${WORK}/build -G ${GENERATOR} -DCMAKE_CXX_COMPILER=${COMPILER}
    -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DCMAKE_PREFIX_PATH=${WORK}/prefix
    -DCMAKE_CXX_FLAGS=${FLAGS} -DCMAKE_EXE_LINKER_FLAGS=${FLAGS})
run("Building the example" ${CMAKE_COMMAND} --build ${WORK}/build)
run("Running the example" ${WORK}/build/hotspot-demo --check)
message(STATUS "${output}")
foreach(line "Triangle: box 20,30 100x140; at its centre: Triangle"
             "Circle: box 140,50 90x90; at its centre: Circle"
             "Rectangle: box 250,40 90x120; at its centre: Rectangle"
             "at 5,5: nothing"
             "read back: 3 hotspots, picture 360 x 200")
  string(FIND "${output}" "${line}" at)
  if(at LESS 0)
    message(FATAL_ERROR "The example's output lacks \"${line}\"")
  endif()
endforeach()

# Installs the libraries of VANDORA_BUILD into WORK/prefix, builds EXAMPLE against that
# prefix alone, and runs it with --check.
include(${CMAKE_CURRENT_LIST_DIR}/RunStep.cmake)

file(REMOVE_RECURSE ${WORK})
run("Installing the libraries"
    ${CMAKE_COMMAND} --install ${VANDORA_BUILD} --prefix ${WORK}/prefix --component Development)
if(EXISTS ${WORK}/prefix/bin)
  message(FATAL_ERROR "The Development component installed programs: ${WORK}/prefix/bin")
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

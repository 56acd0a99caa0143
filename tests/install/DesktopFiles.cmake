# Installs the program of VANDORA_BUILD into WORK/prefix and checks what a desktop reads
# from there: the desktop file (any remark of desktop-file-validate fails, hints included:
# a hint such as two main categories puts the quiz twice in a menu), the AppStream file
# against the tree (its launchable must name the installed desktop file), and the program
# and icon the desktop file names.
include(${CMAKE_CURRENT_LIST_DIR}/RunStep.cmake)

file(REMOVE_RECURSE ${WORK})
run("Installing the program" ${CMAKE_COMMAND} --install ${VANDORA_BUILD} --prefix ${WORK} --component Runtime)

file(GLOB desktop_files ${WORK}/share/applications/*.desktop)
list(LENGTH desktop_files count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "Expected one installed desktop file, found ${count}: ${desktop_files}")
endif()
run("desktop-file-validate" ${DESKTOP_FILE_VALIDATE} ${desktop_files})
if(NOT output STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate remarks:\n${output}")
endif()
run("appstreamcli validate-tree" ${APPSTREAMCLI} validate-tree --no-net --strict ${WORK})

file(STRINGS ${desktop_files} exec REGEX "^Exec=")
file(STRINGS ${desktop_files} icon REGEX "^Icon=")
string(REGEX REPLACE "^Exec=([^ ]*).*" "\\1" exec "${exec}")
string(REGEX REPLACE "^Icon=" "" icon "${icon}")
if(NOT EXISTS ${WORK}/bin/${exec})
  message(FATAL_ERROR "The desktop file starts \"${exec}\", which is not installed in bin/")
endif()
file(GLOB icons ${WORK}/share/icons/hicolor/*/apps/${icon}.png)
if(icons STREQUAL "")
  message(FATAL_ERROR "The desktop file's icon \"${icon}\" is not installed in the hicolor theme")
endif()

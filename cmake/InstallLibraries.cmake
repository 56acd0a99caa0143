# Installs the hotspot control and the platform layer under it as a CMake package, so a
# program elsewhere can write find_package(Vandora) and link Vandora::hotspot. Headers keep
# the paths the sources use ("hotspot/Morvane.h") under include/vandora.
include(CMakePackageConfigHelpers)

set(_vandora_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Vandora)

install(TARGETS vandora_platform vandora_hotspot EXPORT VandoraTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/vandora)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform ${PROJECT_SOURCE_DIR}/hotspot
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/vandora COMPONENT Development
        FILES_MATCHING PATTERN "*.h")
install(EXPORT VandoraTargets NAMESPACE Vandora:: DESTINATION ${_vandora_cmake_dir}
        COMPONENT Development)

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/VandoraConfig.cmake.in
                              ${CMAKE_CURRENT_BINARY_DIR}/VandoraConfig.cmake
                              INSTALL_DESTINATION ${_vandora_cmake_dir})
# The control's version is the project's; its streamed forms change only with the minor one.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/VandoraConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/VandoraConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/VandoraConfigVersion.cmake
        DESTINATION ${_vandora_cmake_dir} COMPONENT Development)

# Installation: headers, the library, a CMake package (zop::zop) and a
# pkg-config file.
include(CMakePackageConfigHelpers)

install(TARGETS zop EXPORT zopTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/zop DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT zopTargets NAMESPACE zop:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/zop)

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/zopConfig.cmake.in
  ${CMAKE_BINARY_DIR}/zopConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/zop)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/zopConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/zopConfig.cmake ${CMAKE_BINARY_DIR}/zopConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/zop)

if(WIN32)
  set(ZOP_PC_LIB "zop${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
else()
  set(ZOP_PC_LIB "zop")
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/zop.pc.in ${CMAKE_BINARY_DIR}/zop.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/zop.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

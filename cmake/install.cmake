# Installation: headers, the library, a CMake package (zop::zop) and a
# pkg-config file.  The files fall in two components, which the packages of
# cmake/package.cmake follow: "runtime" is what a program needs to run (the
# DLL, the versioned shared library), "development" what building with zop
# needs (headers, import library and unversioned link, CMake package,
# pkg-config file).
include(CMakePackageConfigHelpers)

install(TARGETS zop EXPORT zopTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/zop DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  COMPONENT development PATTERN "*.in" EXCLUDE)
install(FILES ${PROJECT_BINARY_DIR}/include/zop/version.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zop COMPONENT development)
install(EXPORT zopTargets NAMESPACE zop:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/zop
  COMPONENT development)

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/zopConfig.cmake.in
  ${CMAKE_BINARY_DIR}/zopConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/zop)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/zopConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/zopConfig.cmake ${CMAKE_BINARY_DIR}/zopConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/zop COMPONENT development)

if(WIN32)
  set(ZOP_PC_LIB "zop${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
else()
  set(ZOP_PC_LIB "zop")
endif()
# The pkg-config file finds the prefix from where it lies.
file(RELATIVE_PATH ZOP_PC_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" ZOP_PC_PREFIX "${ZOP_PC_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/zop.pc.in ${CMAKE_BINARY_DIR}/zop.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/zop.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
  COMPONENT development)

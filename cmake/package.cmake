# Packages, made by CPack (scripts/package.sh runs it in the build trees):
#  - Linux: the Debian packages libzop<MAJOR>.<MINOR> (the shared library,
#    component "runtime") and libzop-dev (component "development"), which
#    depends on the run-time package of exactly its own version;
#  - Windows: the SDK archive zop-<version>-win64.zip (or -win32) holding
#    everything, with the licence, README and CHANGELOG at its top.
set(CPACK_PACKAGE_NAME zop)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR}/packages)
set(ZOP_SO_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})

if(WIN32)
  install(FILES LICENSE README.md CHANGELOG.md DESTINATION . COMPONENT development)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_PACKAGE_FILE_NAME zop-${PROJECT_VERSION}-win64)
  else()
    set(CPACK_PACKAGE_FILE_NAME zop-${PROJECT_VERSION}-win32)
  endif()
else()
  set(ZOP_PACKAGE_MAINTAINER "zop maintainers <zop@example.org>" CACHE STRING
    "Maintainer named in the Debian packages")
  set(ZOP_DEB_RELEASE 1)
  set(ZOP_DEB_VERSION ${PROJECT_VERSION}-${ZOP_DEB_RELEASE})
  set(ZOP_DEB_RUNTIME libzop${ZOP_SO_VERSION})

  # /usr/share/doc/<package> of both packages: the copyright file, the
  # Debian changelog (one entry, for this release: its date is in
  # cmake/debian/changelog.in) and the library's own, compressed as Debian
  # wants them; and lintian's overrides, each with its reason.  Only the
  # packages install these (EXCLUDE_FROM_ALL).
  set(ZOP_DEB_DIR ${PROJECT_BINARY_DIR}/debian)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md)
  configure_file(cmake/debian/changelog.in ${ZOP_DEB_DIR}/changelog.Debian @ONLY)
  foreach(pair "changelog.Debian|${ZOP_DEB_DIR}/changelog.Debian" "changelog|${PROJECT_SOURCE_DIR}/CHANGELOG.md")
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 name)
    list(GET pair 1 source)
    execute_process(COMMAND gzip -9nc ${source} OUTPUT_FILE ${ZOP_DEB_DIR}/${name}.gz
      RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "gzip failed on ${source}")
    endif()
  endforeach()
  foreach(component_package "runtime|${ZOP_DEB_RUNTIME}" "development|libzop-dev")
    string(REPLACE "|" ";" component_package "${component_package}")
    list(GET component_package 0 component)
    list(GET component_package 1 package)
    install(FILES cmake/debian/copyright ${ZOP_DEB_DIR}/changelog.Debian.gz ${ZOP_DEB_DIR}/changelog.gz
      DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package}
      COMPONENT ${component} EXCLUDE_FROM_ALL)
    install(FILES cmake/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
      RENAME ${package} COMPONENT ${component} EXCLUDE_FROM_ALL)
  endforeach()

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_ALL runtime development)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_RELEASE ${ZOP_DEB_RELEASE})
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZOP_PACKAGE_MAINTAINER})
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # CPack indents the lines and marks the empty one.
  set(ZOP_DEB_DESCRIPTION "\
zop offers an exception hierarchy with cause chains, operating-system error
text, wide-string utilities, Unicode 3.0 character classes and strict
UTF-8/UTF-16 conversion, byte streams, Windows path algebra, file and
directory objects, dates with English and Chinese formatting and parsing,
locales, the current time zone and threads. All text at its boundary is
UTF-16 in std::wstring.

This package holds")

  set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${ZOP_DEB_RUNTIME})
  set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
  set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
    "C++ foundation class library\n${ZOP_DEB_DESCRIPTION} the shared library.")
  set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
  # shlibs names the run-time package for programs linked with the library;
  # the trigger makes dpkg run ldconfig once the library is in place.
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
  # The package has no maintainer scripts.  CPack writes a postinst and a
  # postrm that call ldconfig themselves (which the trigger has replaced)
  # unless the control files given include scripts of those names; naming
  # files that do not exist turns them off and adds nothing.
  set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/triggers
    ${ZOP_DEB_DIR}/none/postinst ${ZOP_DEB_DIR}/none/postrm)

  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libzop-dev)
  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
  set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "C++ foundation class library (development files)\n\
${ZOP_DEB_DESCRIPTION} the headers, the CMake package and the pkg-config file.")
  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "${ZOP_DEB_RUNTIME} (= ${ZOP_DEB_VERSION})")
endif()

include(CPack)

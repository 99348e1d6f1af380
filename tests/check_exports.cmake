# Checks the export table of the built library: split_string under its plain
# name, the other functions under their C++ (decorated) names.
if(KIND STREQUAL "pe")
  execute_process(COMMAND ${TOOL} -p ${LIB} OUTPUT_VARIABLE table RESULT_VARIABLE rc)
else()
  execute_process(COMMAND ${TOOL} -D --defined-only ${LIB} OUTPUT_VARIABLE table RESULT_VARIABLE rc)
endif()
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot read the export table of ${LIB}")
endif()
if(NOT table MATCHES "[ \t]split_string\n")
  message(FATAL_ERROR "split_string is not exported under its plain name")
endif()
foreach(sym _ZN3zop8find_any _ZN3zop4Path7combine _ZN3zop12system_error _ZN3zop9ExceptionC
    _ZN3zop4Char13is_whitespace _ZN3zop10Convertion13utf8_to_utf16
    _ZN3zop4DateC _ZN3zop6Locale2USE _ZN3zop10DateFormat14local_instance
    _ZN3zop8TimeZone17current_time_zone
    _ZN3zop6Thread5start _ZN3zop6Thread8wait_all)
  if(NOT table MATCHES "${sym}")
    message(FATAL_ERROR "${sym}... is not exported")
  endif()
endforeach()
if(table MATCHES "_ZN3zop3sys")
  message(FATAL_ERROR "the platform layer leaks into the export table")
endif()
message(STATUS "export table is as expected")

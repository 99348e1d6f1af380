# Turns UnicodeData.txt into a list of code-point ranges with their general
# category, for the constant category table of zop::Char.
#
#   cmake -DINPUT=UnicodeData.txt -DOUTPUT=category_ranges.inc -P gen_category_ranges.cmake
#
# Every output line reads `{0xFIRST, 0xLAST, Cat},` where Cat is the two-letter
# category name.  Adjacent code points of one category are merged into one
# range; ranges that the file gives by a "<..., First>" and a "<..., Last>"
# entry are covered whole.  Code points the file does not list are left out
# (the table holds Cn for them).  Runs as a CMake script so that the cross
# build needs no program compiled for the build machine.
cmake_minimum_required(VERSION 3.20)
if(NOT INPUT OR NOT OUTPUT)
  message(FATAL_ERROR "usage: cmake -DINPUT=<UnicodeData.txt> -DOUTPUT=<file> -P ${CMAKE_CURRENT_LIST_FILE}")
endif()

file(STRINGS "${INPUT}" lines)
get_filename_component(input_name "${INPUT}" NAME)
set(out "// Generated from ${input_name} by gen_category_ranges.cmake; do not edit.\n")
set(run_first -1)
set(run_last -2)
set(run_cat "")
set(range_first -1)
set(count 0)

macro(flush_run)
  if(run_first GREATER_EQUAL 0)
    math(EXPR f "${run_first}" OUTPUT_FORMAT HEXADECIMAL)
    math(EXPR l "${run_last}" OUTPUT_FORMAT HEXADECIMAL)
    string(APPEND out "{${f}, ${l}, ${run_cat}},\n")
  endif()
endmacro()

foreach(line IN LISTS lines)
  if(NOT line MATCHES "^([0-9A-F]+);([^;]*);([A-Z][a-z]);")
    message(FATAL_ERROR "unexpected line in ${INPUT}: ${line}")
  endif()
  set(cat "${CMAKE_MATCH_3}")
  set(name "${CMAKE_MATCH_2}")
  math(EXPR code "0x${CMAKE_MATCH_1}")
  if(code GREATER 65535)
    continue()
  endif()
  if(name MATCHES ", First>$")
    set(range_first ${code})
    continue()
  endif()
  set(first ${code})
  if(name MATCHES ", Last>$")
    if(range_first LESS 0)
      message(FATAL_ERROR "range end without a start in ${INPUT}: ${line}")
    endif()
    set(first ${range_first})
    set(range_first -1)
  endif()
  math(EXPR next "${run_last} + 1")
  if(first EQUAL next AND cat STREQUAL run_cat)
    set(run_last ${code})
  else()
    flush_run()
    set(run_first ${first})
    set(run_last ${code})
    set(run_cat ${cat})
  endif()
  math(EXPR count "${count} + 1")
endforeach()
flush_run()

if(count LESS 10000)
  message(FATAL_ERROR "${INPUT} has only ${count} entries below U+10000")
endif()
# Rewrite only on change, so that a re-run does not force recompilation.
file(CONFIGURE OUTPUT "${OUTPUT}" CONTENT "${out}" @ONLY)

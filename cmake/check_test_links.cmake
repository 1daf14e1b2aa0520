# Checks on the link lines CMake wrote that no test program of the engine (test_KorvaneXDK_*) or of
# os/ (test_os_*) links a program library: the engine's independence of the program is a fact of
# the linker as well as of the includes.
# Usage: cmake -DBUILD=<build folder> -DPROGRAM_LIBRARIES=<file name>[,<file name>...] -P check_test_links.cmake
#
# The link lines are read from build.ninja (CMakeFiles/impl-<config>.ninja for Ninja Multi-Config)
# or, for the Makefile generators, from each program's CMakeFiles/<program>.dir/link.txt.
cmake_minimum_required(VERSION 3.20)

if(NOT DEFINED BUILD OR NOT IS_DIRECTORY "${BUILD}" OR NOT PROGRAM_LIBRARIES)
  message(FATAL_ERROR "Usage: cmake -DBUILD=<build folder> -DPROGRAM_LIBRARIES=<file name>[,...] -P check_test_links.cmake")
endif()
string(REPLACE "," ";" program_libraries "${PROGRAM_LIBRARIES}")
set(checked_programs "^test_(KorvaneXDK|os)_")

# Program names and their link lines, side by side.
set(programs)
set(link_lines)

file(GLOB ninja_files "${BUILD}/build.ninja" "${BUILD}/CMakeFiles/impl-*.ninja")
foreach(ninja_file IN LISTS ninja_files)
  # A program's link statement names its output and the libraries it depends on; its LINK_LIBRARIES
  # variable follows on an indented line, before the next statement.
  file(STRINGS "${ninja_file}" lines REGEX "^(build |  LINK_LIBRARIES = )")
  set(program "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^build ")
      set(program "")
    endif()
    if(line MATCHES "^build ([^:]+): [A-Za-z]+_EXECUTABLE_LINKER__")
      get_filename_component(program "${CMAKE_MATCH_1}" NAME)
      list(APPEND programs "${program}")
      # What follows "||" only has to be built first; it is not linked.
      string(REGEX REPLACE " \\|\\| .*$" "" line "${line}")
      list(APPEND link_lines "${line}")
    elseif(NOT program STREQUAL "" AND line MATCHES "^  LINK_LIBRARIES = ")
      # The LINK_LIBRARIES line belongs to the statement just read: add it to that program's line.
      list(POP_BACK link_lines last)
      list(APPEND link_lines "${last} ${line}")
    endif()
  endforeach()
endforeach()

file(GLOB_RECURSE link_files "${BUILD}/*/link.txt")
foreach(link_file IN LISTS link_files)
  get_filename_component(dir "${link_file}" DIRECTORY)
  get_filename_component(dir_name "${dir}" NAME)
  if(dir_name MATCHES "^(.+)\\.dir$")
    list(APPEND programs "${CMAKE_MATCH_1}")
    file(READ "${link_file}" line)
    string(REPLACE ";" " " line "${line}")
    string(REPLACE "\n" " " line "${line}")
    list(APPEND link_lines "${line}")
  endif()
endforeach()

set(found 0)
set(offenders)
list(LENGTH programs count)
if(count GREATER 0)
  math(EXPR last "${count} - 1")
  foreach(i RANGE ${last})
    list(GET programs ${i} program)
    if(NOT program MATCHES "${checked_programs}")
      continue()
    endif()
    math(EXPR found "${found} + 1")
    list(GET link_lines ${i} line)
    foreach(library IN LISTS program_libraries)
      string(REGEX REPLACE "([][.+*?^$()|\\\\])" "\\\\\\1" pattern "${library}")
      if(" ${line} " MATCHES "[ /]${pattern} ")
        list(APPEND offenders "${program} links ${library}")
      endif()
    endforeach()
  endforeach()
endif()

# Nothing to read would pass while checking nothing.
if(found EQUAL 0)
  message(FATAL_ERROR "No link line of an engine or os/ test program was found in ${BUILD}")
endif()
if(offenders)
  list(REMOVE_DUPLICATES offenders)
  list(SORT offenders)
  list(JOIN offenders "\n  " text)
  message(FATAL_ERROR "Engine or os/ test programs that link a program library (they link the layer they test):\n  ${text}\n")
endif()
message(STATUS "${found} engine and os/ test programs link no program library")

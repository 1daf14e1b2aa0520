# Checks that a shared library defines exactly the listed dynamic symbols, besides the linker's own.
# Usage: cmake -DNM=<nm> -DLIBRARY=<file> "-DEXPORTS=<name>;<name>..." -P check_exports.cmake
cmake_minimum_required(VERSION 3.20)

execute_process(COMMAND "${NM}" -D --defined-only "${LIBRARY}" OUTPUT_VARIABLE listing ERROR_VARIABLE why
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${NM} cannot list the symbols of ${LIBRARY}: ${why}")
endif()
string(REPLACE "\n" ";" lines "${listing}")
set(found)
foreach(line IN LISTS lines)
  # "<address> <type> <name>"; every library has the linker's markers of its data's end.
  if(line MATCHES "^[0-9a-fA-F]* +[A-Za-z] +(.+)$")
    set(name "${CMAKE_MATCH_1}")
    if(NOT name MATCHES "^(_edata|_end|__bss_start|_init|_fini)$")
      list(APPEND found "${name}")
    endif()
  endif()
endforeach()
list(SORT found)
list(SORT EXPORTS)
if(NOT found STREQUAL EXPORTS)
  list(REMOVE_ITEM found ${EXPORTS})
  message(FATAL_ERROR "${LIBRARY} exports more than ${EXPORTS}: ${found}")
endif()

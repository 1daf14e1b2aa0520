# Helpers shared by every layer, tool, test folder and benchmark of the build.

# A static library made of every .cpp below the FOLDERS, except those below the EXCEPT folders (sub-folders
# that build targets of their own, with their own CMakeLists.txt). Folders are relative to the source root.
#   korvane_layer(NAME FOLDERS folder... [EXCEPT folder...])
function(korvane_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "FOLDERS;EXCEPT")
  set(sources)
  foreach(dir IN LISTS arg_FOLDERS)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${dir}/*.cpp")
    list(APPEND sources ${found})
  endforeach()
  foreach(dir IN LISTS arg_EXCEPT)
    cmake_path(APPEND PROJECT_SOURCE_DIR "${dir}" OUTPUT_VARIABLE excluded)
    set(kept)
    foreach(src IN LISTS sources)
      cmake_path(IS_PREFIX excluded "${src}" NORMALIZE below)
      if(NOT below)
        list(APPEND kept "${src}")
      endif()
    endforeach()
    set(sources ${kept})
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
  korvane_strict_warnings(${name})
endfunction()

# -Wshadow and -Wconversion for a library or tool of the project (tests and benchmarks
# keep the common set), unless KORVANE_LAX_WARNING_TARGETS names it.
function(korvane_strict_warnings name)
  if(NOT name IN_LIST KORVANE_LAX_WARNING_TARGETS)
    target_compile_options(${name} PRIVATE -Wshadow -Wconversion)
  endif()
endfunction()

# In AddressSanitizer builds a program that runs (the game, each test program) keeps the libraries
# loaded at run time loaded until it ends, so a leak they leave names them (cmake/KeepLibrariesLoaded.cpp).
function(korvane_keep_libraries_loaded name)
  if(ENABLE_ASAN)
    target_sources(${name} PRIVATE "${PROJECT_SOURCE_DIR}/cmake/KeepLibrariesLoaded.cpp")
    target_link_options(${name} PRIVATE "LINKER:--export-dynamic-symbol=dlclose")
  endif()
endfunction()

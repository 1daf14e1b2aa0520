# Helpers shared by every layer, test folder and benchmark of the build.

# A static library made of every .cpp below the given folders; nothing is made when
# the folders hold no source yet, so later layers appear as soon as their first file lands.
function(korvane_layer name)
  set(sources)
  foreach(dir IN LISTS ARGN)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${dir}/*.cpp")
    list(APPEND sources ${found})
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
    korvane_strict_warnings(${name})
  endif()
endfunction()

# -Wshadow and -Wconversion for a library or tool of the project (tests and benchmarks
# keep the common set), unless KORVANE_LAX_WARNING_TARGETS names it.
function(korvane_strict_warnings name)
  if(NOT name IN_LIST KORVANE_LAX_WARNING_TARGETS)
    target_compile_options(${name} PRIVATE -Wshadow -Wconversion)
  endif()
endfunction()

# Links a layer when it exists; a missing lower layer is skipped.
function(korvane_link name scope)
  if(NOT TARGET ${name})
    return()
  endif()
  foreach(dep IN LISTS ARGN)
    if(TARGET ${dep} OR dep MATCHES "::")
      target_link_libraries(${name} ${scope} ${dep})
    endif()
  endforeach()
endfunction()

# The highest layer built so far: tests and tools link it to see everything below.
function(korvane_top_layer out)
  foreach(lib program korvane_mwt korvane_canvas korvane_platform korvane_core os)
    if(TARGET ${lib})
      set(${out} ${lib} PARENT_SCOPE)
      return()
    endif()
  endforeach()
endfunction()

# Fails when code of the engine or the program includes a header of SDL, OpenGL, epoxy,
# libpng or libjpeg: those belong to the platform layer (os/) alone.
# Usage: cmake -DROOT=<source dir> -P check_boundary.cmake
set(offenders)
foreach(dir KorvaneXDK host games frontend)
  file(GLOB_RECURSE files "${ROOT}/${dir}/*.h" "${ROOT}/${dir}/*.cpp")
  foreach(f IN LISTS files)
    file(STRINGS "${f}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](SDL[^>\"]*|SDL2/[^>\"]*|GL/[^>\"]*|epoxy/[^>\"]*|png\\.h|jpeglib\\.h)[>\"]")
    if(hits)
      file(RELATIVE_PATH rel "${ROOT}" "${f}")
      list(APPEND offenders "${rel}: ${hits}")
    endif()
  endforeach()
endforeach()
if(offenders)
  list(JOIN offenders "\n  " text)
  message(FATAL_ERROR "Platform headers included outside os/:\n  ${text}")
endif()

# Checks the include direction between the program's folders, and that only os/ includes the
# headers of SDL, OpenGL, epoxy, libpng or libjpeg.
# Usage: cmake -DROOT=<source tree> -P check_boundary.cmake
#
# Each folder includes itself and the folders below it, nothing else:
#   os/                    nothing above it
#   KorvaneXDK/core/       os/
#   KorvaneXDK/platform/   core, os/
#   KorvaneXDK/canvas/     platform and below
#   KorvaneXDK/mwt/        canvas and below
#   host/, games/, frontend/   the engine and os/, and between them only the crossings below.
# An include is read from the tree's root ("host/MainForm.h") or, failing that, beside the file.
cmake_minimum_required(VERSION 3.20)

# The program's crossings between host/, games/ and frontend/, one a line:
#   "<including file, or folder/>  <included header>  <why>"
# A crossing that is listed but no longer taken fails the check too: remove its line.
set(KORVANE_CROSSINGS
  # The front end reaches the host through its link alone.
  "frontend/forms/FormSceneLink.cpp  host/ResourceScene.h  sounds, controllers, texts, key mappings, data reset, music version and volumes, form cache"
  "frontend/forms/FormSceneLink.cpp  host/MegaWindowScene.h  the wallpaper, the screen rotation and the aspect ratio"
  "frontend/forms/FormSceneLink.cpp  host/MainForm.h  the title menu's game start shows the game's form"
  # The front end's jobs are the host's task pool's routines: its record is their work area.
  "frontend/forms/LeaderboardDownloadJob.cpp  host/FrontEndTaskPool.h  the download job is posted into and run by the pool"
  "frontend/steam/ScoreUpload.cpp  host/FrontEndTaskPool.h  a game thread posts the upload job into the pool and waits on its record"

  # What the host asks of the front end.
  "host/Application.cpp  frontend/steam/SteamAchievements.h  the entry makes the achievements object and deletes it at exit"
  "host/Application.cpp  frontend/steam/SteamServices.h  the entry makes the leaderboards and remote storage"
  "host/ResourceScene.h  frontend/preferences/PreferenceManager.h  the resource scene owns the preference manager"
  "host/ResourceScene.h  frontend/preferences/PreferenceHost.h  the resource scene is the preference manager's host"
  "host/MegaWindowScene.cpp  frontend/forms/FormSceneLink.h  the window scene hands its screen to the forms' link"
  "host/MegaWindowScene.cpp  frontend/forms/LogoSplashForm.h  the window scene's start opens the logo splash"
  "host/MegaWindowScene.cpp  frontend/forms/CursorForm.h  the window scene's start opens the cursor form and keeps it"
  "host/MegaWindowScene.cpp  frontend/forms/WallpaperForm.h  the window scene shows the wallpaper it is given"
  "host/MegaWindowSceneInput.cpp  frontend/forms/CursorForm.h  the window scene's input moves the cursor"
  "host/MainForm.cpp  frontend/forms/PauseForm.h  the pause key opens the pause menu"
  "host/MainForm.cpp  frontend/forms/DialogForm.h  leaving from the pause menu asks for confirmation"
  "host/MainForm.cpp  frontend/forms/GameSelectForm.h  a game's form brings the title menu back when it closes"
  "host/MainForm.cpp  frontend/forms/FormSceneLink.h  the main form shows its menus on the forms' screen with the pause sound"
  "host/MainFormDesign.cpp  frontend/forms/FormHelpers.h  the main form is laid out with the forms' design steps"

  # The host runs the games; the games run on the host's console.
  "host/MainForm.cpp  games/qvr2/QVR2Thread.h  the main form starts the main game's thread"
  "host/MainForm.cpp  games/tessaril/TessarilThread.h  the main form starts the companion game's thread"
  "games/  host/PausableThread.h  a game thread is a pausable thread"
  "games/  host/ConsoleServices.h  the console's display, clock and input"
  "games/  host/ConsoleFrameComposer.h  the hand-over of each frame"

  # The games' calls into the front end.
  "games/  frontend/steam/ScoreUpload.h  the games post their scores and hand the upload their thread's stop check"
)

# The folders each folder may include besides the crossings.
set(engine KorvaneXDK/mwt KorvaneXDK/canvas KorvaneXDK/platform KorvaneXDK/core os)
set(allowed_os os)
set(allowed_KorvaneXDK/core KorvaneXDK/core os)
set(allowed_KorvaneXDK/platform KorvaneXDK/platform KorvaneXDK/core os)
set(allowed_KorvaneXDK/canvas KorvaneXDK/canvas KorvaneXDK/platform KorvaneXDK/core os)
set(allowed_KorvaneXDK/mwt ${engine})
set(allowed_host host ${engine})
set(allowed_games games ${engine})
set(allowed_frontend frontend ${engine})

if(NOT DEFINED ROOT OR NOT IS_DIRECTORY "${ROOT}")
  message(FATAL_ERROR "Usage: cmake -DROOT=<source tree> -P check_boundary.cmake")
endif()
get_filename_component(ROOT "${ROOT}" ABSOLUTE)

# The checked folder a path below the root lies in, or "" outside them.
function(korvane_folder_of path out)
  set(folder "")
  if(path MATCHES "^(KorvaneXDK/(core|platform|canvas|mwt)|os|host|games|frontend)/")
    set(folder "${CMAKE_MATCH_1}")
  endif()
  set(${out} "${folder}" PARENT_SCOPE)
endfunction()

# Whether a path is the pattern, or lies below it when the pattern ends in "/".
function(korvane_path_matches path pattern out)
  set(hit FALSE)
  if(pattern MATCHES "/$")
    string(FIND "${path}" "${pattern}" at)
    if(at EQUAL 0)
      set(hit TRUE)
    endif()
  elseif(path STREQUAL pattern)
    set(hit TRUE)
  endif()
  set(${out} ${hit} PARENT_SCOPE)
endfunction()

set(crossing_from)
set(crossing_to)
set(index 0)
foreach(entry IN LISTS KORVANE_CROSSINGS)
  if(NOT entry MATCHES "^([^ ]+)  +([^ ]+)  +([^ ].*)$")
    message(FATAL_ERROR "check_boundary.cmake: a crossing needs a file, a header and why: '${entry}'")
  endif()
  list(APPEND crossing_from "${CMAKE_MATCH_1}")
  list(APPEND crossing_to "${CMAKE_MATCH_2}")
  math(EXPR index "${index} + 1")
endforeach()
math(EXPR last_crossing "${index} - 1")
set(crossings_taken)

set(back_includes)
set(platform_includes)
foreach(dir os KorvaneXDK host games frontend)
  file(GLOB_RECURSE files "${ROOT}/${dir}/*.h" "${ROOT}/${dir}/*.cpp")
  foreach(f IN LISTS files)
    file(RELATIVE_PATH rel "${ROOT}" "${f}")
    korvane_folder_of("${rel}" from)
    if(from STREQUAL "")
      continue()
    endif()
    get_filename_component(here "${f}" DIRECTORY)
    file(STRINGS "${f}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS lines)
      if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"]")
        continue()
      endif()
      set(written "${CMAKE_MATCH_2}")
      if(CMAKE_MATCH_1 STREQUAL "<")
        set(shown "<${written}>")
      else()
        set(shown "\"${written}\"")
      endif()

      if(NOT dir STREQUAL "os" AND written MATCHES "^(SDL.*|GL/.*|epoxy/.*|png\\.h|jpeglib\\.h)$")
        list(APPEND platform_includes "${rel} includes ${shown}")
        continue()
      endif()

      korvane_folder_of("${written}" to)
      set(target "${written}")
      if(to STREQUAL "")
        get_filename_component(beside "${here}/${written}" ABSOLUTE)
        if(NOT EXISTS "${beside}")
          continue()
        endif()
        file(RELATIVE_PATH target "${ROOT}" "${beside}")
        korvane_folder_of("${target}" to)
        if(to STREQUAL "")
          continue()
        endif()
      endif()
      if(to IN_LIST allowed_${from})
        continue()
      endif()

      set(listed FALSE)
      foreach(i RANGE ${last_crossing})
        list(GET crossing_from ${i} pattern_from)
        list(GET crossing_to ${i} pattern_to)
        korvane_path_matches("${rel}" "${pattern_from}" from_hit)
        korvane_path_matches("${target}" "${pattern_to}" to_hit)
        if(from_hit AND to_hit)
          set(listed TRUE)
          list(APPEND crossings_taken ${i})
        endif()
      endforeach()
      if(listed)
        continue()
      elseif(from MATCHES "^(host|games|frontend)$" AND to MATCHES "^(host|games|frontend)$")
        list(APPEND back_includes "${rel} includes ${shown}: ${from}/ to ${to}/ is no listed crossing")
      else()
        list(APPEND back_includes "${rel} includes ${shown}: ${from}/ lies below ${to}/")
      endif()
    endforeach()
  endforeach()
endforeach()

# Crossings whose including file is in this tree but no longer takes them.
set(stale)
foreach(i RANGE ${last_crossing})
  list(GET crossing_from ${i} pattern_from)
  if(EXISTS "${ROOT}/${pattern_from}" AND NOT i IN_LIST crossings_taken)
    list(GET crossing_to ${i} pattern_to)
    list(APPEND stale "${pattern_from} no longer includes ${pattern_to}")
  endif()
endforeach()

set(report)
if(back_includes)
  list(SORT back_includes)
  list(JOIN back_includes "\n  " text)
  string(APPEND report "Includes against the layer order (the crossings are listed in cmake/check_boundary.cmake):\n  ${text}\n")
endif()
if(platform_includes)
  list(SORT platform_includes)
  list(JOIN platform_includes "\n  " text)
  string(APPEND report "Platform headers included outside os/:\n  ${text}\n")
endif()
if(stale)
  list(JOIN stale "\n  " text)
  string(APPEND report "Crossings listed in cmake/check_boundary.cmake but no longer taken (remove their lines):\n  ${text}\n")
endif()
if(report)
  message(FATAL_ERROR "${report}")
endif()

# Checks that every layer includes only its own headers and those of the
# layers below it, in this order from the bottom:
#   runtime/core, runtime/system, runtime/window, app/catalogue, app/windows
# The core reaches the layers above it only through spine_hooks_win.cpp, and
# the process entry (app/winmain_win.cpp) may include anything.
# Run as: cmake -DSOURCE_DIR=<top> -P check_layers.cmake
set(layers runtime/core runtime/system runtime/window app/catalogue app/windows)
set(faults "")
foreach(layer IN LISTS layers)
  list(FIND layers ${layer} rank)
  file(GLOB files ${SOURCE_DIR}/${layer}/*.cpp ${SOURCE_DIR}/${layer}/*.h)
  foreach(file IN LISTS files)
    if(file MATCHES "/runtime/core/spine_hooks_win\\.cpp$")
      continue()
    endif()
    file(STRINGS ${file} includes REGEX "^#include \"(runtime|app)/[a-z_]+/")
    foreach(line IN LISTS includes)
      string(REGEX MATCH "(runtime|app)/[a-z_]+" target "${line}")
      list(FIND layers ${target} target_rank)
      if(target_rank GREATER rank)
        file(RELATIVE_PATH shown ${SOURCE_DIR} ${file})
        string(APPEND faults "  ${shown}: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "includes that reach a layer above:\n${faults}")
endif()
message(STATUS "every layer includes only itself and the layers below it")

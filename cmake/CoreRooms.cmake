# The core's rooms, each below the ones after it, for every build (Linux, Windows, fuzzing).
macro(brivane_add_core_rooms)
  foreach(room platform opl midi capture songfile conversion games settings)
    add_subdirectory(${PROJECT_SOURCE_DIR}/src/${room} ${PROJECT_BINARY_DIR}/src/${room})
  endforeach()
endmacro()

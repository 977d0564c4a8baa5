# Portable sources (no <windows.h>): part of orv_core, and also built natively
# with the sanitizers and fuzz targets (preset native-sanitize).
list(APPEND ORV_PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
)
# Sources of this subsystem, added to the product library orv_core.
list(APPEND ORV_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/instance_manager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/deferred_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/self_removal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/removal_leftovers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/setup_app.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program_mark.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uninstaller_place.cpp
  ${CMAKE_CURRENT_LIST_DIR}/library_search.cpp
)

# Portable sources (no <windows.h>): part of orv_core, and also built natively
# with the sanitizers and fuzz targets (preset native-sanitize).
list(APPEND ORV_PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/copy_operand.cpp
)
# Sources of this subsystem, added to the product library orv_core.
list(APPEND ORV_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/file_replace.cpp
  ${CMAKE_CURRENT_LIST_DIR}/folder_levels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/install.cpp
  ${CMAKE_CURRENT_LIST_DIR}/install_script.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry_entries.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shortcuts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/staging_folders.cpp
)

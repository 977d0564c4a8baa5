# Portable sources (no <windows.h>): part of orv_core, and also built natively
# with the sanitizers and fuzz targets (preset native-sanitize).
list(APPEND ORV_PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bounded_path.cpp
)
# Sources of this subsystem, added to the product library orv_core.
list(APPEND ORV_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/codepage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/codepage_convert.cpp
  ${CMAKE_CURRENT_LIST_DIR}/com.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_compare.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_removal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_rename.cpp
  ${CMAKE_CURRENT_LIST_DIR}/folder_rights.cpp
  ${CMAKE_CURRENT_LIST_DIR}/held_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/locked_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/string_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/module_path.cpp
  ${CMAKE_CURRENT_LIST_DIR}/process_start.cpp
  ${CMAKE_CURRENT_LIST_DIR}/run_log.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shell_folders.cpp
)

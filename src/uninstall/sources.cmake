# Portable sources (no <windows.h>): part of orv_core, and also built natively
# with the sanitizers and fuzz targets (preset native-sanitize).
list(APPEND ORV_PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/install_log.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_entry.cpp
)
# Sources of this subsystem, added to the product library orv_core.
list(APPEND ORV_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/log_replay.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry_cleanup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stale_staging.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uninstall.cpp
)

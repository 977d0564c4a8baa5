# Portable sources (no <windows.h>): part of orv_core, and also built natively
# with the sanitizers and fuzz targets (preset native-sanitize).
list(APPEND ORV_PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/install_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/version_value.cpp
  ${CMAKE_CURRENT_LIST_DIR}/folder_values.cpp
  ${CMAKE_CURRENT_LIST_DIR}/home_page_url.cpp
  ${CMAKE_CURRENT_LIST_DIR}/driver_switches.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shortcut_group.cpp
)
# Sources of this subsystem, added to the product library orv_core.
list(APPEND ORV_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/existing_install.cpp
  ${CMAKE_CURRENT_LIST_DIR}/earlier_group.cpp
  ${CMAKE_CURRENT_LIST_DIR}/after_install.cpp
  ${CMAKE_CURRENT_LIST_DIR}/install_driver.cpp
)

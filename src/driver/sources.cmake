# Sources of this subsystem, added to the product library orv_core.
list(APPEND ORV_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/install_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/existing_install.cpp
  ${CMAKE_CURRENT_LIST_DIR}/earlier_group.cpp
  ${CMAKE_CURRENT_LIST_DIR}/after_install.cpp
  ${CMAKE_CURRENT_LIST_DIR}/install_driver.cpp
)

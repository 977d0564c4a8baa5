# Sources of this subsystem, added to the product library orv_core.
list(APPEND ORV_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/setup_dlg.cpp
)

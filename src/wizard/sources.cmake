# Sources of this subsystem, added to the product library orv_core.
list(APPEND ORV_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/agreement_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/completion_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/folder_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/group_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/into_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/setup_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wizard_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wizard_picture.cpp
)

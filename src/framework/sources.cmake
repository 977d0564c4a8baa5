# The application framework: the application object's base and its run,
# message boxes with the application's title, modal and child dialogs, the
# exit status, the run guard and the display's scale.
list(APPEND ORV_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/application.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/display_scale.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exit_status.cpp
  ${CMAKE_CURRENT_LIST_DIR}/run_guard.cpp
)

# Deferred file operations (system list and WININIT.INI, and a real restart of
# the prefix) and the uninstaller's self-removal.
orv_add_test_program(deferred_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_deferred_file.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_deferred_restart.cpp)

orv_add_test_program(self_removal_test FOLDER_LINKS
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_self_removal.cpp)

# The real setup.exe as OrvUnInst.exe, its temporary copy and their boxes.
orv_add_test_program(self_removal_e2e_test DISPLAY
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_self_removal_e2e.cpp
  DEPENDS setup)
target_link_libraries(self_removal_e2e_test PRIVATE orv_ui_driver)

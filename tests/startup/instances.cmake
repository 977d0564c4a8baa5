# The shared instance list, read and written through its own names and
# layout by the tests, with windows on a private display.
orv_add_test_program(instance_registry_test DISPLAY
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_instance_manager.cpp)

# Real copies of the application stand-in beside the real setup.exe and
# uninstaller, on one display and in one prefix.
orv_add_test_program(instance_e2e_test DISPLAY TIMEOUT 180
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_instance_e2e.cpp
  DEPENDS setup app_stand_ins sample_package)
target_link_libraries(instance_e2e_test PRIVATE orv_ui_driver)

# Several real setups and uninstallers at once, as deployment tools and users
# start them; one test waits out the silent run's minute.
orv_add_test_program(one_run_e2e_test DISPLAY TIMEOUT 180
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_one_run_e2e.cpp
  DEPENDS setup sample_package)
target_link_libraries(one_run_e2e_test PRIVATE orv_ui_driver uninstall_test_state)

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

# The real setups and uninstallers as deployment tools and users start them,
# several at once (one test waits out the silent run's minute), and what a
# removal leaves for the restart.
orv_add_test_program(deployment_e2e_test DISPLAY TIMEOUT 180
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_deployment_e2e.cpp
  DEPENDS setup sample_package)
target_link_libraries(deployment_e2e_test PRIVATE orv_ui_driver)

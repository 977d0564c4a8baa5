# The administrator's log of the real setups and uninstallers.
orv_add_test_program(run_log_e2e_test DISPLAY
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_run_log_e2e.cpp
  DEPENDS setup sample_package)
target_link_libraries(run_log_e2e_test PRIVATE orv_ui_driver)

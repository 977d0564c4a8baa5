# The shared instance list, read and written through its own names and
# layout by the tests, with windows on a private display.
orv_add_test_program(instance_registry_test DISPLAY
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_instance_manager.cpp)

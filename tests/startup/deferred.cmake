# Deferred file operations: the system's list and WININIT.INI, and a real
# restart of the prefix.
orv_add_test_program(deferred_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_deferred_file.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_deferred_restart.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_deferred_support.cpp)

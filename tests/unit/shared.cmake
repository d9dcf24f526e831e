vrx_add_test(shared_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/record_layout_test.cpp ${CMAKE_CURRENT_LIST_DIR}/record_file_test.cpp
  LIBS vrx_shared)

# The main window: its designed components and what it shows of a record.
vrx_add_test(main_window_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/main_window_test.cpp
  LIBS vrx_windows)

# The about window with real windows and real key presses.
vrx_add_test(about_window_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/about_window_test.cpp
  LIBS vrx_windows advapi32 LABELS gui)

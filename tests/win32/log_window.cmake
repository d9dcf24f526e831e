# The log window with real windows after a few minutes of readings; leaves a screenshot,
# log_window.bmp, in the test's build folder for people to look at.
vrx_add_test(log_window_shot
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/log_window_shot.cpp
  LIBS vrx_windows
  LABELS gui)

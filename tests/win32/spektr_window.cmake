# The spectrum window with real windows, filled from a computed record; leaves a screenshot,
# spektr_window.bmp, in the test's build folder for people to look at.
vrx_add_test(spektr_window_shot
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/spektr_window_shot.cpp
  LIBS vrx_windows vrx_synthetic_frames
  LABELS gui)

# The main window realised with real windows, showing a computed record; writes screenshots of it
# into the build folder for people to look at.
vrx_add_test(main_window_shot
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/main_window_shot.cpp
          ${PROJECT_SOURCE_DIR}/tests/support/synthetic_frames.cpp
  LIBS vrx_windows
  LABELS gui)

# The log window on the component model: scales, time axis, settings, clearing, the cursor and
# the CSV export.
if(NOT WIN32)
  vrx_add_test(log_window_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/log_window_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/log_cursor_export_test.cpp
    LIBS vrx_windows)
endif()

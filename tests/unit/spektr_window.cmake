# The spectrum window on the component model: placement and axis modes from the settings file,
# the grid, the bars, the pop-up menu. Natively, where the model alone holds the window's state.
if(NOT WIN32)
  vrx_add_test(spektr_window_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/spektr_window_test.cpp
    LIBS vrx_windows)
endif()

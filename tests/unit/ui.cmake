# The component model's tests run natively, where no window exists; the Windows back end has
# its own tests under tests/win32. The settings rules run on both.
if(NOT WIN32)
  vrx_add_test(ui_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/ui_model_test.cpp ${CMAKE_CURRENT_LIST_DIR}/ui_format_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/ui_thread_test.cpp
    LIBS vrx_ui
    LABELS threads)
endif()
vrx_add_test(settings_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/settings_test.cpp LIBS vrx_windows)

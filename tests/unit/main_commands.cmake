# The main window's commands, the about window, start-up and close, on the component model with
# the application-data folder in a temporary folder ($VRX_APPDATA, native only). Start-up runs the
# connection thread, so the executable runs again under ThreadSanitizer.
if(NOT WIN32)
  vrx_add_test(main_commands_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/main_commands_test.cpp
    LIBS vrx_windows LABELS threads)
endif()

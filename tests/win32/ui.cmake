# The Win32 back end of the component layer: real windows, real messages. Needs a display
# (the CI runs the tests under xvfb-run).
vrx_add_test(ui_backend_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/ui_backend_test.cpp
  LIBS vrx_ui advapi32 LABELS gui)
vrx_add_test(ui_forms_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/ui_forms_test.cpp
  LIBS vrx_ui advapi32 LABELS gui)

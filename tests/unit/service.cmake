# The service dialogs on the component model with a real connection thread against the simulator
# (native only); the threads run again under ThreadSanitizer.
if(NOT WIN32)
  vrx_add_test(ft_ident_form_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/ft_ident_form_test.cpp
    LIBS vrx_windows vrx_sim LABELS threads)
endif()

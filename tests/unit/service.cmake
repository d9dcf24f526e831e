# The firmware update: the CRC and image files, the update thread against the simulated boot
# loader, and the dialog on the component model with the connection thread held and let go.
set(service_test_sources ${CMAKE_CURRENT_LIST_DIR}/firmware_update_test.cpp)
if(WIN32)
  vrx_add_test(firmware_update_test SOURCES ${service_test_sources} LIBS vrx_service LABELS threads)
  target_include_directories(firmware_update_test PRIVATE ${PROJECT_SOURCE_DIR}/sim)
  add_dependencies(firmware_update_test ftd2xx)
else()
  vrx_add_test(firmware_update_test SOURCES ${service_test_sources} LIBS vrx_service vrx_sim
    LABELS threads)
  # The identity dialog with a real connection thread against the simulator (native only).
  vrx_add_test(ft_ident_form_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/ft_ident_form_test.cpp
    LIBS vrx_windows vrx_sim LABELS threads)
endif()

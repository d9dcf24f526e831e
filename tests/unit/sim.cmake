vrx_add_test(sim_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/sim_protocol_test.cpp ${CMAKE_CURRENT_LIST_DIR}/sim_device_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/sim_dll_test.cpp
  LIBS vrx_sim vrx_os
  LABELS threads)
if(WIN32)
  # The DLL test loads the simulator's ftd2xx.dll from beside the test.
  add_dependencies(sim_test ftd2xx)
endif()

set(device_test_sources
  ${CMAKE_CURRENT_LIST_DIR}/requests_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/usb_log_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/transport_test.cpp)
if(WIN32)
  # The tests load the simulator's ftd2xx.dll the way the program loads the driver.
  vrx_add_test(device_test SOURCES ${device_test_sources} LIBS vrx_device)
  target_include_directories(device_test PRIVATE ${PROJECT_SOURCE_DIR}/sim)
  add_dependencies(device_test ftd2xx)
else()
  vrx_add_test(device_test SOURCES ${device_test_sources} LIBS vrx_device vrx_sim)
endif()

vrx_add_test(connection_thread_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/connection_thread_test.cpp
  LIBS vrx_device $<$<NOT:$<BOOL:${WIN32}>>:vrx_sim>
  LABELS threads)
if(WIN32)
  target_include_directories(connection_thread_test PRIVATE ${PROJECT_SOURCE_DIR}/sim)
  add_dependencies(connection_thread_test ftd2xx)
endif()

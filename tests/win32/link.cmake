# The instrument link through the real Win32 path: LoadLibraryA("ftd2xx.dll") finds the simulator.
add_executable(link_demo ${CMAKE_CURRENT_LIST_DIR}/link_demo.cpp)
target_link_libraries(link_demo PRIVATE vrx_device)
add_dependencies(link_demo ftd2xx)
add_test(NAME link_demo COMMAND link_demo WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

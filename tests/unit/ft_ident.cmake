# Writing the USB identity into the chips. Under Wine the routine's FT_PROGRAM_DATA travels
# through the simulator's ftd2xx.dll, which checks the binary interface as the real driver meets it.
if(WIN32)
  vrx_add_test(ft_ident_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/ft_ident_test.cpp LIBS vrx_device)
  target_include_directories(ft_ident_test PRIVATE ${PROJECT_SOURCE_DIR}/sim)
  add_dependencies(ft_ident_test ftd2xx)
else()
  vrx_add_test(ft_ident_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/ft_ident_test.cpp
               LIBS vrx_device vrx_sim)
endif()

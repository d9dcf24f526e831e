# The program's PE header marks it large-address-aware (checked on the host). For the 32-bit build
# only: the flag is what gives a 32-bit program 4 GB of addresses; a 64-bit one has them anyway.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME vrx470_large_address_aware
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_large_address_aware.sh
                   $<TARGET_FILE:vrx470>)
  set_tests_properties(vrx470_large_address_aware PROPERTIES LABELS file_check)
endif()

# The program's PE header marks it large-address-aware (checked on the host).
add_test(NAME vrx470_large_address_aware
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_large_address_aware.sh $<TARGET_FILE:vrx470>)

# The simulator's ftd2xx.dll exports the driver's names as the real one does (checked on the host).
add_test(NAME ftd2xx_exports
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_exports.sh $<TARGET_FILE:ftd2xx>)

# The simulator's ftd2xx.dll exports the driver's names as the real one does (checked on the host,
# with the objdump of the build's own toolchain).
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(ftd2xx_pe_format pei-i386)
else()
  set(ftd2xx_pe_format pei-x86-64)
endif()
add_test(NAME ftd2xx_exports
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_exports.sh $<TARGET_FILE:ftd2xx>
                 ${ftd2xx_pe_format} ${CMAKE_OBJDUMP})
# Reads a file only: runs on every machine, whether or not it runs the build's programs.
set_tests_properties(ftd2xx_exports PROPERTIES LABELS file_check)

# The platform calls that have rules of their own: code page 1251 and replacing files. Natively and
# under Wine, where the converter is checked against the platform's own code page.
vrx_add_test(os_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/os_text_file_test.cpp LIBS vrx_os)

vrx_add_test(chart_gdi_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/chart_gdi_test.cpp
  LIBS vrx_chart
  LABELS wine)

vrx_add_test(chart_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/chart_axis_test.cpp ${CMAKE_CURRENT_LIST_DIR}/chart_series_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/chart_paint_test.cpp
  LIBS vrx_chart)

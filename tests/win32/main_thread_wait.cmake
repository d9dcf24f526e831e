# What the main thread does while it waits for a worker: paint and synchronised calls, no input.
vrx_add_test(main_thread_wait_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/main_thread_wait_test.cpp
  LIBS vrx_ui LABELS gui)

# Measurement arithmetic and spectrum: each step on its own, whole records, and the digests that
# prove the native and the Windows build compute byte-identical records.
set(ARITH_SUPPORT ${CMAKE_CURRENT_LIST_DIR}/../support)

add_library(vrx_synthetic_frames STATIC ${ARITH_SUPPORT}/synthetic_frames.cpp)
target_include_directories(vrx_synthetic_frames PUBLIC ${ARITH_SUPPORT})
target_link_libraries(vrx_synthetic_frames PUBLIC vrx_shared)

# Every arithmetic test computes in extended precision, as the connection thread does.
set(ARITH_ENV ${ARITH_SUPPORT}/extended_precision_env.cpp)

vrx_add_test(spectrum_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/spectrum_test.cpp ${ARITH_ENV}
  LIBS vrx_arith vrx_synthetic_frames)
vrx_add_test(arith_steps_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/arith_steps_test.cpp ${CMAKE_CURRENT_LIST_DIR}/dc_correction_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/harmonics_test.cpp ${ARITH_ENV}
  LIBS vrx_arith)
vrx_add_test(process_record_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/process_record_test.cpp ${ARITH_ENV}
  LIBS vrx_arith vrx_synthetic_frames)
vrx_add_test(record_identity_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/record_identity_test.cpp ${ARITH_ENV}
  LIBS vrx_arith vrx_synthetic_frames)
# No environment here: it checks what the platform's start-up and a fresh thread leave.
vrx_add_test(fpu_precision_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fpu_precision_test.cpp
  LIBS vrx_device vrx_synthetic_frames
  LABELS threads)

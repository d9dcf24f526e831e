// The x87 unit rounds long double work to a 64-bit significand on the threads that compute, and
// double and float work is done in SSE registers, as declared.
#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>
#include <memory>
#include <thread>

#include "fpu_precision.h"
#include "meas_arith.h"
#include "records.h"
#include "synthetic_frames.h"

namespace {

// What the platform's start-up left, read before any test code runs.
const int kBitsAtStartUp = X87SignificandBits();

bool OnePlusEpsilonIsExact() {
  volatile long double one = 1.0L;
  volatile long double epsilon = LDBL_EPSILON;  // 2^-63: lost at 53 bits
  const long double sum = one + epsilon;
  return sum != one;
}

TEST(FpuPrecision, StartUpState) {
  std::cout << "x87 significand at start-up: " << kBitsAtStartUp << " bits\n";
  EnsureExtendedPrecision();
  EXPECT_EQ(X87SignificandBits(), 64);
  EXPECT_TRUE(OnePlusEpsilonIsExact());
}

TEST(FpuPrecision, LongDoubleHasTheExtendedSignificand) {
  EXPECT_EQ(LDBL_MANT_DIG, 64);
  EXPECT_EQ(DBL_MANT_DIG, 53);
  EXPECT_EQ(FLT_MANT_DIG, 24);
}

// float and double round as declared only when they do not live in x87 registers.
TEST(FpuPrecision, DoubleAndFloatUseSse) {
  EXPECT_EQ(FLT_EVAL_METHOD, 0);
#if defined(__i386__)
  EXPECT_TRUE(__SSE2_MATH__);
#endif
}

// A new thread may start with the 53-bit significand (Windows does); the computing thread sets
// the full one before its first reading.
TEST(FpuPrecision, NewThreadGetsExtendedPrecision) {
  int before = 0, after = 0;
  bool exact = false;
  std::thread t([&] {
    before = X87SignificandBits();
    EnsureExtendedPrecision();
    after = X87SignificandBits();
    exact = OnePlusEpsilonIsExact();
  });
  t.join();
  std::cout << "x87 significand of a new thread: " << before << " bits\n";
  EXPECT_EQ(after, 64);
  EXPECT_TRUE(exact);
}

#if defined(__i386__) || defined(__x86_64__)
// Precision control 10: a 53-bit significand, as a Windows thread starts.
void SetDoublePrecision() {
  uint16_t cw;
  __asm__ __volatile__("fnstcw %0" : "=m"(cw));
  cw = static_cast<uint16_t>((cw & ~0x0300) | 0x0200);
  __asm__ __volatile__("fldcw %0" : : "m"(cw));
}

TEST(FpuPrecision, ProcessingRestoresTheExtendedSignificand) {
  auto rec = std::make_unique<TMeasRecord>();
  std::memset(rec.get(), 0, sizeof(TMeasRecord));
  rec->log2N = 12;
  SetDoublePrecision();
  ASSERT_EQ(X87SignificandBits(), 53);
  ProcessMeasRecord(rec.get());
  EXPECT_EQ(X87SignificandBits(), 64);
}
#endif

// A record processed on a fresh thread, whatever precision it started with, is the same as one
// processed on the test thread.
TEST(FpuPrecision, RecordIsTheSameOnEveryThread) {
  SourceMode = kSourceMemory;
  auto here = std::make_unique<TMeasRecord>();
  std::memset(here.get(), 0, sizeof(TMeasRecord));
  FillPlausibleCalibration(here.get());
  FillSyntheticFrame(MainsFrame(0, 14, 99), here.get());
  auto there = std::make_unique<TMeasRecord>(*here);
  EnsureExtendedPrecision();
  ProcessMeasRecord(here.get());
  std::thread t([&] { ProcessMeasRecord(there.get()); });
  t.join();
  SourceMode = kSourceLive;
  EXPECT_EQ(std::memcmp(here.get(), there.get(), sizeof(TMeasRecord)), 0);
}

}  // namespace

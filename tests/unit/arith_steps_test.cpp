// The integer steps of the arithmetic, each on its own: frame statistics, AC weight, RMS
// calibration, kilovolts, trigger point and timing.
#include <gtest/gtest.h>

#include <vector>

#include "frame_stats.h"
#include "frame_timing.h"
#include "rms_calibration.h"
#include "value_scaling.h"

namespace {

TEST(FrameStats, SumsAndExtremesAreExact) {
  const int16_t samples[] = {-32768, 32767, 5, -5, 0, 32767, -32768, 1};
  const FrameSums f = SumFrame(samples, 8);
  EXPECT_EQ(f.sum, -1);
  EXPECT_EQ(f.sumSq, 2LL * 32768 * 32768 + 2LL * 32767 * 32767 + 50 + 1);
  EXPECT_EQ(f.max, 32767);
  EXPECT_EQ(f.min, -32768);
}

TEST(FrameStats, MeanRoundsTowardMinusInfinity) {
  struct Case {
    int64_t sum;
    int log2N;
    int64_t mean;
  };
  for (const Case& c : std::vector<Case>{{-1, 12, -1},
                                         {-4096, 12, -1},
                                         {-4097, 12, -2},
                                         {4095, 12, 0},
                                         {4096, 12, 1},
                                         {-16384LL * 32768, 14, -32768}}) {
    EXPECT_EQ(FloorMean(c.sum, c.log2N), c.mean) << c.sum;
  }
}

TEST(FrameStats, TwiceRmsAndTwiceMean) {
  struct Case {
    const char* what;
    int16_t a, b;  // the frame alternates a and b
    uint16_t r2, d2;
  };
  for (const Case& c :
       std::vector<Case>{{"square wave without DC", 1000, -1000, 2000, 0},
                         {"constant", -300, -300, 600, 600},
                         {"mean -0.5: RMS below one code", 0, -1, 0, 1},
                         // 65,536 does not fit the 16-bit codes: held at the largest.
                         {"all -32768", -32768, -32768, 65535, 65535},
                         {"all 32767", 32767, 32767, 65534, 65534},
                         {"zero", 0, 0, 0, 0}}) {
    for (int log2N : {12, 14}) {
      std::vector<int16_t> s(1u << log2N);
      for (size_t i = 0; i < s.size(); ++i)
        s[i] = i % 2 ? c.b : c.a;
      const FrameSums f = SumFrame(s.data(), static_cast<int>(s.size()));
      EXPECT_EQ(TwiceRms(f.sumSq, log2N), c.r2) << c.what;
      EXPECT_EQ(TwiceMeanMagnitude(f.sum, log2N), c.d2) << c.what;
    }
  }
}

TEST(FrameStats, AcWeight) {
  struct Case {
    uint16_t d2, r2, weight;
  };
  for (const Case& c : std::vector<Case>{{0, 1, 65535},
                                         {0, 65535, 65535},
                                         {0, 0, 0},
                                         {500, 500, 0},
                                         {600, 500, 0},
                                         {40000, 50000, 13107},
                                         {40000, 40010, 16},
                                         {65534, 65535, 1}}) {
    EXPECT_EQ(AcWeight(c.d2, c.r2), c.weight) << c.d2 << " / " << c.r2;
  }
}

TEST(FrameStats, TriggerIsTheFirstUpwardCrossingOfTheMean) {
  struct Case {
    const char* what;
    std::vector<int16_t> head;  // the rest of the 64-sample frame is 100
    int64_t mean;
    int32_t index;
  };
  const std::vector<Case> cases = {
      {"crossing at 5", {-3, -2, -1, -2, -3, -1, 4}, 0, 5},
      {"both sides inclusive", {9, 7, 7, 8}, 7, 1},
      {"first sample on the mean", {0, 0}, 0, 0},
      {"falling edges do not count", {5, 4, -4, -5}, 0, 3},
      {"no crossing in N/8 + 1 positions", {}, 0, 8},
  };
  for (const Case& c : cases) {
    std::vector<int16_t> s(64, 100);
    std::copy(c.head.begin(), c.head.end(), s.begin());
    if (c.head.empty())
      std::fill(s.begin(), s.end(), -1);
    EXPECT_EQ(FindTriggerIndex(s.data(), 6, c.mean), c.index) << c.what;
  }
  std::vector<int16_t> late(4096, -1);
  late[600] = 1;
  EXPECT_EQ(FindTriggerIndex(late.data(), 12, 0), 512);
}

// The three worked calibrations of range 0: DC 20000, X[0] 1000, X[1] 5000, Y[0] 300, A[1]
// 24000, R2 3000.
TEST(RmsCalibration, BlendsDcGainAndTableByAcWeight) {
  const TKalibrConsts cal = {20000,
                             {1000, 5000, 9000, 20000, 40000},
                             {300, 1500, 2700, 6000, 0},
                             {19000, 24000, 21000, 20500, 20100}};
  struct Case {
    uint16_t w;
    int64_t units;
    float kv;
  };
  for (const Case& c :
       std::vector<Case>{{0, 915, 9.15f}, {32768, 974, 9.74f}, {65535, 1033, 10.33f}}) {
    EXPECT_EQ(CalibratedRmsUnits(cal, 3000, c.w), c.units) << c.w;
    EXPECT_EQ(UnitsToKilovolts(CalibratedRmsUnits(cal, 3000, c.w)), c.kv) << c.w;
  }
}

TEST(RmsCalibration, SegmentChoice) {
  const TKalibrConsts range0 = {20000,
                                {1000, 5000, 9000, 20000, 40000},
                                {300, 1500, 2700, 6000, 11000},
                                {10, 11, 12, 13, 14}};
  const TKalibrConsts range1 = {
      21000, {3000, 15000, 60000, 0, 0}, {950, 4790, 19250, 0, 0}, {20, 21, 22, 0, 0}};
  const TKalibrConsts empty = {21000, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {30, 31, 32, 33, 34}};
  struct Case {
    const char* what;
    const TKalibrConsts& cal;
    uint16_t r2;
    RmsSegment seg;
  };
  const std::vector<Case> cases = {
      {"zero", range0, 0, {0, 0, 10}},
      {"on X[0]", range0, 1000, {0, 0, 10}},
      {"on X[1] ends segment 1", range0, 5000, {1000, 300, 11}},
      {"just above X[1]", range0, 5001, {5000, 1500, 12}},
      {"on X[4]", range0, 40000, {20000, 6000, 14}},
      {"above X[4] extends the last", range0, 40001, {20000, 6000, 14}},
      {"range 1 on X[2]", range1, 60000, {15000, 4790, 22}},
      {"range 1 above X[2]", range1, 65535, {15000, 4790, 22}},
      {"no breakpoints at all", empty, 100, {0, 0, 30}},
  };
  for (const Case& c : cases) {
    const RmsSegment s = ChooseRmsSegment(c.cal, c.r2);
    EXPECT_EQ(s.xlo, c.seg.xlo) << c.what;
    EXPECT_EQ(s.ylo, c.seg.ylo) << c.what;
    EXPECT_EQ(s.slope, c.seg.slope) << c.what;
  }
}

// A gain or slope of 32,768 or more would overflow 32-bit products; 64 bits hold them.
TEST(RmsCalibration, LargeConstantsDoNotOverflow) {
  const TKalibrConsts cal = {65535,
                             {65535, 65535, 65535, 65535, 65535},
                             {65535, 0, 0, 0, 0},
                             {65535, 65535, 65535, 65535, 65535}};
  EXPECT_EQ(CalibratedRmsUnits(cal, 65535, 0), 65534);
  EXPECT_EQ(CalibratedRmsUnits(cal, 65535, 65535), 65534);
  const TKalibrConsts steep = {1000, {100, 65535, 0, 0, 0}, {50, 0, 0, 0, 0}, {0, 65535, 0, 0, 0}};
  // base 1, then 1 + trunc(49 * 65535 / 65536) = 49; gain 1000 + trunc(64535 * 65535 / 65536).
  EXPECT_EQ(CalibratedRmsUnits(steep, 65535, 65535), 49 + (65534LL * 65435) / 65536);
}

TEST(ValueScaling, Kilovolts) {
  EXPECT_EQ(SampleToKilovolts(32767, 20000, 0), static_cast<float>(19999 * 0.01L));
  EXPECT_EQ(SampleToKilovolts(-1, 20000, 0), -0.01f);
  EXPECT_EQ(SampleToKilovolts(-32768, 65535, 1), static_cast<float>(-65535 * 0.001L));
  EXPECT_EQ(SampleToKilovolts(1, 32768, 1), 0.00100000005f);
  EXPECT_EQ(CodeToKilovolts(-1, 20000), -0.01f);
  EXPECT_EQ(CodeToKilovolts(-32768, 65535), static_cast<float>(-65535 * 0.01L));
  // Range 1 values are rounded twice: to single at 0.01 kV, and again after the factor 0.1.
  EXPECT_EQ(ApplyRangeFactor(UnitsToKilovolts(1)), 0.000999999931f);
  EXPECT_EQ(ApplyRangeFactor(UnitsToKilovolts(9)), 0.00900000054f);
}

TEST(FrameTiming, FromClockDivider) {
  struct Case {
    uint16_t divider;
    int log2N;
    float binWidthHz, samplePeriodMs;
  };
  for (const Case& c : std::vector<Case>{{3125, 12, 1.25f, 0.1953125f},
                                         {3125, 14, 0.3125f, 0.1953125f},
                                         {0, 12, 1.0f, 1.0f},
                                         {3125, 0, 1.0f, 1.0f},
                                         {1, 12, 3906.25f, 0.0000625f}}) {
    const FrameTiming t = ComputeFrameTiming(c.divider, c.log2N);
    EXPECT_EQ(t.binWidthHz, c.binWidthHz) << c.divider;
    EXPECT_EQ(t.samplePeriodMs, c.samplePeriodMs) << c.divider;
  }
}

}  // namespace

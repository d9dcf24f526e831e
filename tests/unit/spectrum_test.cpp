#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "fft_tables.h"
#include "spectrum.h"
#include "synthetic_frames.h"

namespace {

std::unique_ptr<TMeasRecord> MakeRecord(int log2N) {
  auto rec = std::make_unique<TMeasRecord>();
  std::memset(rec.get(), 0, sizeof(TMeasRecord));
  rec->log2N = log2N;
  return rec;
}

uint32_t SlowReverse(uint32_t j, int bits) {
  uint32_t r = 0;
  for (int b = 0; b < bits; ++b)
    r |= ((j >> b) & 1u) << (bits - 1 - b);
  return r;
}

TEST(FftTables, BitReverseTableEntries) {
  EXPECT_EQ(BitReverseTable[0], 0x00);
  EXPECT_EQ(BitReverseTable[1], 0x80);
  EXPECT_EQ(BitReverseTable[2], 0x40);
  EXPECT_EQ(BitReverseTable[3], 0xC0);
  EXPECT_EQ(BitReverseTable[0x0F], 0xF0);
  for (int b = 0; b < 256; ++b)
    EXPECT_EQ(BitReverseTable[b], SlowReverse(b, 8)) << b;
}

TEST(FftTables, IndexReversalMatchesBitByBitForEverySize) {
  for (int bits = 1; bits <= kMaxLog2N; ++bits) {
    for (uint32_t j = 0; j < (1u << bits); ++j) {
      ASSERT_EQ(ReverseIndexBits(j, bits), SlowReverse(j, bits)) << bits << " " << j;
    }
  }
}

TEST(FftTables, RootsAreTheDoubleValuesWidened) {
  EXPECT_EQ(FftRootTable[0].re, -1.0L);
  EXPECT_EQ(FftRootTable[0].im, 0.0L);
  EXPECT_EQ(FftRootTable[1].re, 0.0L);
  EXPECT_EQ(FftRootTable[1].im, -1.0L);
  EXPECT_EQ(FftRootTable[2].re, static_cast<long double>(0.7071067811865476));
  EXPECT_EQ(FftRootTable[2].im, static_cast<long double>(-0.7071067811865476));
  EXPECT_EQ(FftRootTable[3].re, static_cast<long double>(0.9238795325112867));
  EXPECT_EQ(FftRootTable[3].im, static_cast<long double>(-0.3826834323650898));
  for (int s = 0; s < 32; ++s) {
    const ExtendedComplex r = FftRootTable[s];
    // Every part is a double, and within a rounding of the true root.
    EXPECT_EQ(r.re, static_cast<long double>(static_cast<double>(r.re))) << s;
    EXPECT_EQ(r.im, static_cast<long double>(static_cast<double>(r.im))) << s;
    const long double angle = 2 * 3.14159265358979323846264338L / std::ldexp(1.0L, s + 1);
    EXPECT_NEAR(static_cast<double>(r.re), static_cast<double>(std::cos(angle)), 1.2e-16) << s;
    EXPECT_NEAR(static_cast<double>(r.im), static_cast<double>(-std::sin(angle)), 1.2e-16) << s;
  }
}

struct ConstantCase {
  int log2N;
  int16_t value;
};

class ConstantFrame : public ::testing::TestWithParam<ConstantCase> {};

// Every butterfly difference of equal values is an exact zero: only bin 0 is left.
TEST_P(ConstantFrame, LeavesTheMagnitudeOfTheMeanInBinZeroAndExactZerosElsewhere) {
  const ConstantCase c = GetParam();
  auto rec = MakeRecord(c.log2N);
  const int n = 1 << c.log2N;
  for (int i = 0; i < n; ++i)
    rec->samples[i] = c.value;
  CalcSpektr(rec.get());
  EXPECT_EQ(rec->spectrum[0], std::fabs(static_cast<float>(c.value)));
  for (int k = 1; k < n / 2; ++k)
    ASSERT_EQ(rec->spectrum[k], 0.0f) << k;
}

INSTANTIATE_TEST_SUITE_P(Frames, ConstantFrame,
                         ::testing::Values(ConstantCase{12, 1234}, ConstantCase{14, -32768},
                                           ConstantCase{12, 0}, ConstantCase{3, -7},
                                           ConstantCase{1, 32767}));

TEST(CalcSpektr, NegativeMeanGivesItsMagnitude) {
  auto rec = MakeRecord(12);
  // Mean -250.5: half the samples -200, half -301.
  for (int i = 0; i < 4096; ++i)
    rec->samples[i] = i % 2 ? -200 : -301;
  CalcSpektr(rec.get());
  EXPECT_EQ(rec->spectrum[0], 250.5f);
}

TEST(CalcSpektr, TwoSamplesGiveHalfTheirSum) {
  auto rec = MakeRecord(1);
  rec->samples[0] = 5;
  rec->samples[1] = -12;
  rec->spectrum[1] = 42.0f;
  CalcSpektr(rec.get());
  EXPECT_EQ(rec->spectrum[0], 3.5f);
  EXPECT_EQ(rec->spectrum[1], 42.0f);
}

struct SineCase {
  int log2N;
  int bin;
};

class SineOnBin : public ::testing::TestWithParam<SineCase> {};

// A sine of amplitude a centred on bin k shows its RMS, a / sqrt(2), there and next to nothing
// elsewhere.
TEST_P(SineOnBin, ShowsItsRmsInThatBinOnly) {
  const SineCase c = GetParam();
  auto rec = MakeRecord(c.log2N);
  const int n = 1 << c.log2N;
  for (int i = 0; i < n; ++i) {
    const long double phase = 2 * 3.14159265358979323846264338L * c.bin * i / n;
    rec->samples[i] = static_cast<int16_t>(std::lround(1000 * std::sin(phase)));
  }
  CalcSpektr(rec.get());
  EXPECT_NEAR(rec->spectrum[c.bin], 707.1068, 0.3);
  for (int k = 0; k < n / 2; ++k) {
    if (k != c.bin) {
      ASSERT_LT(rec->spectrum[k], 0.3f) << k;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Frames, SineOnBin,
                         ::testing::Values(SineCase{12, 40}, SineCase{12, 1}, SineCase{12, 2047},
                                           SineCase{14, 160}, SineCase{14, 8191}, SineCase{4, 3}));

// Against the definition, X[k] = sum x[n] exp(-2 pi i k n / N), for an irregular frame: catches
// a wrong permutation or twiddle that the regular frames above would hide.
TEST(CalcSpektr, MatchesTheDirectTransform) {
  for (int log2N : {2, 5, 8}) {
    auto rec = MakeRecord(log2N);
    const int n = 1 << log2N;
    uint32_t noise = 12345;
    for (int i = 0; i < n; ++i) {
      noise = noise * 1664525u + 1013904223u;
      rec->samples[i] = static_cast<int16_t>(noise >> 16);
    }
    CalcSpektr(rec.get());
    for (int k = 0; k < n / 2; ++k) {
      long double re = 0, im = 0;
      for (int i = 0; i < n; ++i) {
        const long double a = -2 * 3.14159265358979323846264338L * k * i / n;
        re += rec->samples[i] * std::cos(a);
        im += rec->samples[i] * std::sin(a);
      }
      const long double mag = std::sqrt(re * re + im * im);
      const long double expected = k == 0 ? mag / n : mag * std::sqrt(2.0L) / n;
      EXPECT_NEAR(rec->spectrum[k], static_cast<double>(expected), 1e-4 * (1 + expected))
          << log2N << " " << k;
    }
  }
}

TEST(CalcSpektr, BinsFromHalfTheFrameOnAndOtherFieldsAreUntouched) {
  auto rec = MakeRecord(12);
  FillSyntheticFrame(MainsFrame(0, 12, 7), rec.get());
  for (int k = 2048; k < kMaxBins; ++k)
    rec->spectrum[k] = static_cast<float>(k);
  rec->uRms = 1.5f;
  auto before = std::make_unique<TMeasRecord>(*rec);
  CalcSpektr(rec.get());
  for (int k = 2048; k < kMaxBins; ++k)
    ASSERT_EQ(rec->spectrum[k], static_cast<float>(k));
  std::memcpy(before->spectrum, rec->spectrum, sizeof(rec->spectrum));
  EXPECT_EQ(std::memcmp(before.get(), rec.get(), sizeof(TMeasRecord)), 0);
}

// The work storage is reused between calls; a longer frame in between must not change a result.
TEST(CalcSpektr, ResultDoesNotDependOnEarlierCalls) {
  auto shortFrame = MakeRecord(12);
  auto longFrame = MakeRecord(14);
  FillSyntheticFrame(MainsFrame(0, 12, 1), shortFrame.get());
  FillSyntheticFrame(MainsFrame(1, 14, 2), longFrame.get());
  CalcSpektr(shortFrame.get());
  auto first = std::make_unique<TMeasRecord>(*shortFrame);
  CalcSpektr(longFrame.get());
  CalcSpektr(shortFrame.get());
  EXPECT_EQ(std::memcmp(first->spectrum, shortFrame->spectrum, sizeof(first->spectrum)), 0);
}

TEST(CalcSpektr, SizeOutsideItsRangeLeavesTheRecordAlone) {
  for (int log2N : {0, 15, -1}) {
    auto rec = MakeRecord(log2N);
    rec->samples[0] = 100;
    rec->spectrum[0] = 3.0f;
    CalcSpektr(rec.get());
    EXPECT_EQ(rec->spectrum[0], 3.0f) << log2N;
  }
}

TEST(BinMagnitude, RoundsTheSumToDoubleAndTheRootToSingle) {
  EXPECT_EQ(BinMagnitude(3.0, -4.0), 5.0f);
  EXPECT_EQ(BinMagnitude(0.0, 0.0), 0.0f);
  EXPECT_EQ(BinMagnitude(-7.0, 0.0), 7.0f);
}

}  // namespace

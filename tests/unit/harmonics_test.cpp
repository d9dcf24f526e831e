#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "harmonic_history.h"
#include "harmonics.h"

namespace {

struct FundamentalCase {
  const char* what;
  float binWidthHz;
  std::vector<std::pair<uint32_t, float>> bins;  // the rest of the spectrum is 0
  uint32_t peakBin;
  float fundamentalHz;  // 7.5 when none is found: the earlier value stays
};

TEST(FindFundamental, SearchesFortyToSeventyHertz) {
  const std::vector<FundamentalCase> cases = {
      // 1.25 Hz per bin: bins 32 to 55; 31 and 56 lie outside however large.
      {"50 Hz", 1.25f, {{31, 900}, {40, 300}, {56, 900}}, 40, 50.0f},
      {"lowest bin of the band", 1.25f, {{32, 5}}, 32, 40.0f},
      {"highest bin of the band", 1.25f, {{55, 5}}, 55, 68.75f},
      {"tie keeps the lower", 1.25f, {{41, 7}, {45, 7}}, 41, 51.25f},
      {"nothing above 0", 1.25f, {{31, 900}}, 0, 7.5f},
      // A divider of 0 leaves 1 Hz per bin: bins 40 to 69, 70 excluded.
      {"divider 0, bin 69", 1.0f, {{69, 2}, {70, 9}}, 69, 69.0f},
      {"divider 0, bin 40", 1.0f, {{39, 9}, {40, 2}}, 40, 40.0f},
  };
  for (const FundamentalCase& c : cases) {
    std::vector<float> spectrum(2048, 0.0f);
    for (auto [bin, v] : c.bins)
      spectrum[bin] = v;
    float fundamentalHz = 7.5f;
    const Fundamental f = FindFundamental(spectrum.data(), 2048, c.binWidthHz, &fundamentalHz);
    EXPECT_EQ(f.peakBin, c.peakBin) << c.what;
    EXPECT_EQ(f.peak, c.peakBin ? spectrum[c.peakBin] : 0.0f) << c.what;
    EXPECT_EQ(fundamentalHz, c.fundamentalHz) << c.what;
  }
}

TEST(FindFundamental, NeverLooksAtOrAboveHalfTheFrame) {
  std::vector<float> spectrum(kMaxBins, 0.0f);
  spectrum[50] = 100;  // beyond the 32 bins of a 64-sample frame
  float fundamentalHz = 0;
  EXPECT_EQ(FindFundamental(spectrum.data(), 32, 1.0f, &fundamentalHz).peakBin, 0u);
}

TEST(FillHarmonics, AmplitudesAndPerCentOfHarmonicOne) {
  std::vector<float> spectrum(2048, 0.0f);
  for (int k = 0; k <= 40; ++k)
    spectrum[40 * k] = k == 1 ? 2000.0f : 10.0f * k + 1;
  HarmonicBlock block{};
  FillHarmonics(spectrum.data(), 2048, 40, 50.0f, 1.25f, &block);
  for (int k = 0; k <= 40; ++k) {
    EXPECT_EQ(block.value[k], spectrum[40 * k]) << k;
    EXPECT_EQ(block.value[50 + k], static_cast<float>(100.0L * spectrum[40 * k] / 2000)) << k;
  }
  EXPECT_EQ(block.value[51], 100.0f);
}

TEST(FillHarmonics, HarmonicsAtOrAboveHalfTheFrameAreZero) {
  std::vector<float> spectrum(2048, 3.0f);
  HarmonicBlock block{};
  // Bin 100 at 1 Hz: harmonic 20 would be bin 2000, harmonic 21 bin 2100.
  FillHarmonics(spectrum.data(), 2048, 100, 100.0f, 1.0f, &block);
  EXPECT_EQ(block.value[20], 3.0f);
  EXPECT_EQ(block.value[70], 100.0f);
  for (int k = 21; k <= 40; ++k) {
    EXPECT_EQ(block.value[k], 0.0f) << k;
    EXPECT_EQ(block.value[50 + k], 0.0f) << k;
  }
}

// The limit is the double 0.001; the single nearest to it, 0.0010000000475, lies above it.
TEST(FillHarmonics, TinyHarmonicOneGivesNoPerCentAndNoKis) {
  for (float h1 : {std::nextafter(0.001f, 0.0f), 0.0f, 0.0005f}) {
    std::vector<float> spectrum(2048, 5.0f);
    spectrum[40] = h1;
    HarmonicBlock block{};
    FillHarmonics(spectrum.data(), 2048, 40, 50.0f, 1.25f, &block);
    for (int k = 0; k <= 40; ++k)
      EXPECT_EQ(block.value[50 + k], 0.0f) << h1 << " " << k;
    EXPECT_EQ(DistortionFactor(block), 0.0f) << h1;
  }
}

TEST(FillHarmonics, HarmonicOneJustAboveTheLimitCounts) {
  std::vector<float> spectrum(2048, 0.0f);
  spectrum[40] = 0.001f;
  HarmonicBlock block{};
  FillHarmonics(spectrum.data(), 2048, 40, 50.0f, 1.25f, &block);
  EXPECT_EQ(block.value[51], 100.0f);
}

TEST(DistortionFactor, RootOfTheSquaresOverHarmonicOne) {
  HarmonicBlock block{};
  block.value[0] = 1e6f;  // DC never counts
  block.value[1] = 100;
  block.value[2] = 3;
  block.value[3] = 4;
  EXPECT_EQ(DistortionFactor(block), 5.0f);
  // A constant frame puts the same amplitude in harmonics 0 to 40: 100 * sqrt(39).
  for (int k = 0; k <= 40; ++k)
    block.value[k] = 321.5f;
  EXPECT_NEAR(DistortionFactor(block), 624.4998, 0.0001);
}

TEST(SpectrumToPercent, OnlyAPeakAboveTenRescales) {
  std::vector<float> spectrum = {5, 10, 21, 2};
  SpectrumToPercent(spectrum.data(), 3, 10.0f);
  EXPECT_EQ(spectrum, (std::vector<float>{0, 0, 0, 2}));
  spectrum = {5, 10.5f, 21, 2};
  SpectrumToPercent(spectrum.data(), 3, 10.5f);
  EXPECT_EQ(spectrum, (std::vector<float>{static_cast<float>(500.0L / 10.5f), 100, 200, 2}));
}

TEST(HarmonicHistory, ShiftMovesEveryBlockOnePlaceOlder) {
  HarmonicBlock history[kHistoryDepth] = {};
  for (int b = 0; b < kHistoryDepth; ++b)
    history[b].value[7] = static_cast<float>(b);
  ShiftHarmonicHistory(history);
  EXPECT_EQ(history[0].value[7], 0.0f);
  for (int b = 1; b < kHistoryDepth; ++b)
    EXPECT_EQ(history[b].value[7], b - 1.0f) << b;
}

TEST(HarmonicHistory, CountGrowsToTwentyAndStays) {
  EXPECT_EQ(NextHistoryCount(0), 1u);
  EXPECT_EQ(NextHistoryCount(19), 20u);
  EXPECT_EQ(NextHistoryCount(20), 20u);
  EXPECT_EQ(NextHistoryCount(0xFFFFFFFFu), 20u);
}

TEST(HarmonicHistory, AverageIsTheRmsOfThePerCentAndKisOverTheReadings) {
  HarmonicBlock history[kHistoryDepth] = {};
  history[0].value[3] = 17;  // amplitude: copied, not averaged
  history[1].value[3] = 99;
  history[0].value[51] = 100;
  history[0].value[53] = 3;
  history[1].value[53] = 4;
  history[0].value[100] = 6;
  history[1].value[100] = 8;
  HarmonicBlock shown;
  for (float& v : shown.value)
    v = -1;
  AverageHarmonics(history, 2, &shown);
  EXPECT_EQ(shown.value[3], 17.0f);
  EXPECT_EQ(shown.value[51], static_cast<float>(std::sqrt(100.0L * 100 / 2)));
  EXPECT_EQ(shown.value[53], static_cast<float>(std::sqrt(12.5L)));
  EXPECT_EQ(shown.value[100], static_cast<float>(std::sqrt(50.0L)));
  EXPECT_EQ(shown.value[99], 0.0f);
  EXPECT_EQ(shown.value[45], 0.0f);
}

}  // namespace

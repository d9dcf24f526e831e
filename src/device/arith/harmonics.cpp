#include "harmonics.h"

#include <cmath>

namespace {

constexpr float kBandLowHz = 40;
constexpr float kBandHighHz = 70;
// Held in extended, so that every product with it is formed in extended.
constexpr long double kPerCent = 100;
// Below these the reference amplitude is noise: no per cent is formed from it.
constexpr double kSmallestHarmonic1 = 0.001;
constexpr float kSmallestPeak = 10;

constexpr int kPercent = HarmonicBlock::kPercentBase;

bool Harmonic1Usable(const HarmonicBlock& block) {
  return block.value[1] > static_cast<long double>(kSmallestHarmonic1);
}

}  // namespace

Fundamental FindFundamental(const float* spectrum, uint32_t bins, float binWidthHz,
                            float* fundamentalHz) {
  Fundamental f{0.0f, 0};
  const long double highBin = kBandHighHz / static_cast<long double>(binWidthHz);
  for (auto j = static_cast<uint32_t>(kBandLowHz / static_cast<long double>(binWidthHz));
       j < highBin && j < bins; ++j) {
    if (spectrum[j] > f.peak) {
      f.peak = spectrum[j];
      f.peakBin = j;
      *fundamentalHz = static_cast<float>(j * static_cast<long double>(binWidthHz));
    }
  }
  return f;
}

void FillHarmonics(const float* spectrum, uint32_t bins, uint32_t peakBin, float fundamentalHz,
                   float binWidthHz, HarmonicBlock* block) {
  bool inside[kHighestHarmonic + 1];
  for (int k = 0; k <= kHighestHarmonic; ++k) {
    // The second test repeats the first whenever peakBin is this reading's; it keeps the index
    // inside the spectrum by construction.
    inside[k] =
        k * static_cast<long double>(fundamentalHz) / binWidthHz < bins && k * peakBin < bins;
    block->value[k] = inside[k] ? spectrum[k * peakBin] : 0.0f;
  }
  const bool usable = Harmonic1Usable(*block);
  const long double harmonic1 = block->value[1];
  for (int k = 0; k <= kHighestHarmonic; ++k) {
    block->value[kPercent + k] =
        inside[k] && usable ? static_cast<float>(kPerCent * block->value[k] / harmonic1) : 0.0f;
  }
}

float AddSquare(float acc, float v) {
  const long double w = v;
  return static_cast<float>(acc + w * w);
}

float DistortionFactor(const HarmonicBlock& block) {
  if (!Harmonic1Usable(block))
    return 0.0f;
  float sumSq = 0.0f;
  for (int k = 2; k <= kHighestHarmonic; ++k)
    sumSq = AddSquare(sumSq, block.value[k]);
  const long double root = std::sqrt(static_cast<long double>(static_cast<double>(sumSq)));
  return static_cast<float>(kPerCent * root / block.value[1]);
}

void SpectrumToPercent(float* spectrum, uint32_t bins, float peak) {
  const bool rescale = peak > kSmallestPeak;
  for (uint32_t l = 0; l < bins; ++l) {
    spectrum[l] = rescale ? static_cast<float>(kPerCent * spectrum[l] / peak) : 0.0f;
  }
}

#include "harmonic_history.h"

#include <cmath>
#include <cstring>

#include "harmonics.h"

void ShiftHarmonicHistory(HarmonicBlock* history) {
  std::memmove(&history[1], &history[0], sizeof(HarmonicBlock) * (kHistoryDepth - 1));
}

uint32_t NextHistoryCount(uint32_t historyCount) {
  return historyCount >= kHistoryDepth ? kHistoryDepth : historyCount + 1;
}

namespace {

// sqrt(sum of squares over the history / count); the blocks no reading has filled yet are
// zeros, so the first readings average over themselves only.
float RmsOverHistory(const HarmonicBlock* history, int index, uint32_t count) {
  float sumSq = 0.0f;
  for (int b = 0; b < kHistoryDepth; ++b)
    sumSq = AddSquare(sumSq, history[b].value[index]);
  const double meanSq = static_cast<double>(static_cast<long double>(sumSq) / count);
  return static_cast<float>(std::sqrt(static_cast<long double>(meanSq)));
}

}  // namespace

void AverageHarmonics(const HarmonicBlock* history, uint32_t count, HarmonicBlock* shown) {
  for (int k = 0; k < HarmonicBlock::kPercentBase; ++k)
    shown->value[k] = history[0].value[k];
  for (int k = HarmonicBlock::kPercentBase; k < HarmonicBlock::kKis; ++k) {
    shown->value[k] = RmsOverHistory(history, k, count);
  }
  shown->value[HarmonicBlock::kKis] = RmsOverHistory(history, HarmonicBlock::kKis, count);
}

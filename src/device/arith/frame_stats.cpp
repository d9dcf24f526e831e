#include "frame_stats.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr uint64_t kLargestCode = 65535;

uint16_t HoldAsCode(uint64_t v) {
  return static_cast<uint16_t>(v > kLargestCode ? kLargestCode : v);
}

}  // namespace

FrameSums SumFrame(const int16_t* samples, int n) {
  FrameSums f{0, 0, samples[0], samples[0]};
  for (int i = 0; i < n; ++i) {
    const int64_t s = samples[i];
    f.sum += s;
    f.sumSq += s * s;
    if (s > f.max)
      f.max = s;
    if (s < f.min)
      f.min = s;
  }
  return f;
}

int64_t FloorMean(int64_t sum, int log2N) {
  return sum >> log2N;
}

uint16_t TwiceRms(int64_t sumSq, int log2N) {
  const uint64_t fourMeanSq = static_cast<uint64_t>(sumSq >> log2N) << 2;
  const long double root = std::sqrt(static_cast<long double>(static_cast<double>(fourMeanSq)));
  return HoldAsCode(static_cast<uint64_t>(root));
}

uint16_t TwiceMeanMagnitude(int64_t sum, int log2N) {
  return HoldAsCode(static_cast<uint64_t>(2 * std::llabs(sum)) >> log2N);
}

uint16_t AcWeight(uint16_t d2, uint16_t r2) {
  if (d2 >= r2)
    return 0;
  const uint32_t ratio = (uint32_t{d2} << 16) / r2;
  return static_cast<uint16_t>(65535u - ratio);
}

int32_t FindTriggerIndex(const int16_t* samples, int log2N, int64_t mean) {
  const int32_t last = (int32_t{1} << log2N) / 8;
  for (int32_t idx = 0; idx <= last; ++idx) {
    if (samples[idx + 1] >= mean && samples[idx] <= mean)
      return idx;
  }
  return last;
}

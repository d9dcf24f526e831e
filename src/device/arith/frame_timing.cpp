#include "frame_timing.h"

namespace {

// The instrument's sampling clock before the divider.
constexpr float kClockHz = 16000000;
constexpr float kMsPerSecond = 1000;

}  // namespace

FrameTiming ComputeFrameTiming(uint16_t clockDivider, int log2N) {
  if (clockDivider == 0 || log2N == 0)
    return {1.0f, 1.0f};
  const long double rateHz = static_cast<long double>(kClockHz) / clockDivider;
  const long double n = static_cast<long double>(int64_t{1} << log2N);
  return {static_cast<float>(rateHz / n), static_cast<float>(kMsPerSecond / rateHz)};
}

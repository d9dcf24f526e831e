#include "value_scaling.h"

namespace {

// Unit sizes as extended constants: the product rounds once, from extended to single.
constexpr long double kHundredth = 0.01L;
constexpr long double kThousandth = 0.001L;
constexpr long double kTenth = 0.1L;

}  // namespace

float SampleToKilovolts(int16_t s, uint16_t dc, uint8_t range) {
  // -32768 * 65535 still fits in 32 bits.
  const int32_t units = (int32_t{s} * int32_t{dc}) >> 15;
  return static_cast<float>(units * (range == 0 ? kHundredth : kThousandth));
}

float CodeToKilovolts(int64_t code, uint16_t dc) {
  return UnitsToKilovolts((code * dc) >> 15);
}

float UnitsToKilovolts(int64_t units) {
  return static_cast<float>(units * kHundredth);
}

float ApplyRangeFactor(float kv) {
  return static_cast<float>(kv * kTenth);
}

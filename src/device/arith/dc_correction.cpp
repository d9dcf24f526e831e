#include "dc_correction.h"

#include <cmath>

const float DcCorrTable[14] = {135, 130, 125, 120, 115, 110, 105, 100, 95, 90, 85, 80, 70, 0};

namespace {

constexpr int kEntries = sizeof(DcCorrTable) / sizeof(DcCorrTable[0]);
constexpr uint16_t kMostlyDcWeight = 15000;

// The steps are double constants; each sum is formed in extended and rounded to single.
constexpr double kOffset = 0.09;
constexpr double kStep = 0.01;

long double WholeMagnitude(float x) {
  return std::fabs(std::trunc(static_cast<long double>(x)));
}

}  // namespace

bool NeedsDcCorrection(uint8_t range, uint16_t acWeight) {
  return range == 0 && acWeight <= kMostlyDcWeight;
}

float CorrectDcValue(float x) {
  // Written so that a NaN, which no comparison holds for, also comes back unchanged.
  if (!(WholeMagnitude(x) >= 20))
    return x;
  x = static_cast<float>(x - static_cast<long double>(kOffset));
  // The last entry is 0: every value of 20 or more in magnitude stops within the table.
  for (int k = 1; k < kEntries; ++k) {
    const long double step = kStep;
    x = static_cast<float>(x > 0 ? x + step : x - step);
    if (WholeMagnitude(x) > DcCorrTable[k])
      break;
  }
  return x;
}

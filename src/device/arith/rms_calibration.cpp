#include "rms_calibration.h"

namespace {

constexpr int kPoints = 5;

RmsSegment SegmentEndingAt(const TKalibrConsts& cal, int k) {
  if (k == 0)
    return {0, 0, cal.A[0]};
  return {cal.X[k - 1], cal.Y[k - 1], cal.A[k]};
}

}  // namespace

RmsSegment ChooseRmsSegment(const TKalibrConsts& cal, uint16_t r2) {
  for (int k = 0; k < kPoints; ++k) {
    if (cal.X[k] >= r2)
      return SegmentEndingAt(cal, k);
  }
  // Range 1 fills only three breakpoints: X[3] = X[4] = 0 must not end the table.
  int last = 0;
  for (int k = 0; k < kPoints; ++k) {
    if (cal.X[k] != 0)
      last = k;
  }
  return SegmentEndingAt(cal, last);
}

// Every product is formed in 64 bits: the same as 32 bits for a gain and slopes below 32,768,
// and no overflow for larger ones. Integer division truncates toward zero, as the instrument's.
int64_t CalibratedRmsUnits(const TKalibrConsts& cal, uint16_t r2, uint16_t w) {
  const RmsSegment seg = ChooseRmsSegment(cal, r2);
  const int64_t dc = cal.DC;
  int64_t base = (dc * seg.xlo) >> 16;
  base += (seg.ylo - base) * w / 65536;
  const int64_t gain = dc + (seg.slope - dc) * w / 65536;
  return base + gain * (int64_t{r2} - seg.xlo) / 65536;
}

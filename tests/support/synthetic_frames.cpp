#include "synthetic_frames.h"

#include <cstddef>

int32_t IntegerSine(uint32_t phase) {
  // Fold onto the first quarter: x in [0, 2^30] stands for 0..pi/2.
  const uint32_t quadrant = phase >> 30;
  int64_t x = phase & 0x3FFFFFFF;
  if (quadrant & 1)
    x = (int64_t{1} << 30) - x;
  // sin(pi/2 x) ~ x (a - x^2 (b - c x^2)), coefficients times 2^30, fitted for the smallest
  // largest error (3e-4) with a - b + c = 1, so that the peak is exact.
  constexpr int64_t a = 1687672925;  // 1.5717679
  constexpr int64_t b = 694415820;   // 0.6467251
  constexpr int64_t c = 80484719;    // 0.0749572
  const int64_t x2 = (x * x) >> 30;
  const int64_t inner = b - ((c * x2) >> 30);
  const int64_t poly = a - ((x2 * inner) >> 30);
  const int64_t s = (x * poly) >> 30;
  return static_cast<int32_t>(quadrant & 2 ? -s : s);
}

void FillPlausibleCalibration(TMeasRecord* rec) {
  rec->kalibr[0] = {20000,
                    {1000, 5000, 12000, 25000, 60000},
                    {300, 1530, 3680, 7650, 18400},
                    {19660, 20150, 20120, 20010, 20000}};
  rec->kalibr[1] = {
      21000, {3000, 15000, 60000, 0, 0}, {950, 4790, 19250, 0, 0}, {20750, 20900, 21010, 0, 0}};
  rec->zeroOffset = -12;
}

void FillSyntheticFrame(const SyntheticFrame& frame, TMeasRecord* rec) {
  rec->range = frame.range;
  rec->log2N = frame.log2N;
  rec->clockDivider = frame.clockDivider;
  // Sampling rate in millihertz: 16 MHz / divider; below 2^31 for a divider of 8 or more, so the
  // phase below stays within 64 bits.
  const int64_t rateMilliHz = int64_t{16000000000} / frame.clockDivider;
  uint32_t noise = frame.seed;
  const int n = 1 << frame.log2N;
  for (int i = 0; i < n; ++i) {
    int64_t v = frame.dc;
    for (const SyntheticTone& t : frame.tones) {
      if (t.amplitude == 0)
        continue;
      // Phase of sample i, a full turn is 2^32: (i * f / rate) turns.
      const auto turns =
          static_cast<uint32_t>(((int64_t{i} * t.milliHz) % rateMilliHz << 32) / rateMilliHz);
      v += (int64_t{t.amplitude} * IntegerSine(turns + t.phase)) >> 30;
    }
    noise = noise * 1664525u + 1013904223u;
    if (frame.noise > 0)
      v += static_cast<int64_t>(noise >> 8) % (2 * frame.noise + 1) - frame.noise;
    if (v > 32767)
      v = 32767;
    if (v < -32768)
      v = -32768;
    rec->samples[i] = static_cast<int16_t>(v);
  }
}

SyntheticFrame MainsFrame(uint8_t range, int log2N, uint32_t seed) {
  SyntheticFrame f{range, log2N, 3125, 150, 40, seed, {}};
  f.tones[0] = {18000, 50000, 0x1234567};
  f.tones[1] = {900, 150000, 0x40000000};
  f.tones[2] = {540, 250000, 0x9000000};
  f.tones[3] = {180, 350000, 0};
  f.tones[4] = {60, 550000, 0x20000000};
  return f;
}

uint64_t Fnv1a64(const void* data, std::size_t size) {
  const auto* p = static_cast<const unsigned char*>(data);
  uint64_t h = 14695981039346656037ull;
  for (std::size_t i = 0; i < size; ++i) {
    h ^= p[i];
    h *= 1099511628211ull;
  }
  return h;
}

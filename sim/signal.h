// What the instrument sends: its calibration block and its waveform frames, built from a
// description of the signal so that the program's arithmetic turns them back into that signal.
#pragma once

#include <cstdint>
#include <vector>

namespace sim {

// One calibration group as the instrument keeps it. Range 0 counts in 0.01 kV, range 1 in
// 0.001 kV; DC is the Q15 gain from sample codes to those units, A the Q16 slopes of the RMS table
// over twice the RMS in codes, X its breakpoints and Y the values there.
struct Calibration {
  uint16_t dc;
  uint16_t x[5];
  uint16_t y[5];
  uint16_t a[5];
};

Calibration CalibrationOf(uint8_t range);

// The zero offset the instrument reports, in sample codes.
constexpr int16_t kZeroOffset = -7;

// The 98-byte reply to the parameter request.
std::vector<uint8_t> ParameterReply();

struct WaveSpec {
  uint8_t range = 0;
  uint16_t clockDivider = 3125;
  uint32_t samples = 4096;
  double rmsKv = 10.0;  // of the fundamental
  double frequencyHz = 50.0;
  double dcKv = 0.0;
  double harmonics[3] = {0.03, 0.02, 0.01};  // 3rd, 5th and 7th, as parts of the fundamental
  double phase = 0.0;                        // radians at the first sample
  double noiseKv = 0.0;                      // about one standard deviation
  uint64_t noiseSeed = 1;
};

// Header word and samples: 2 * samples + 2 bytes.
std::vector<uint8_t> WaveformReply(const WaveSpec& spec);

// The record stored in memory slot 1..15: distinct and fixed for each slot.
WaveSpec MemorySlotSpec(uint32_t slot, uint32_t samples, uint16_t clockDivider, uint64_t seed);

// A small deterministic generator (splitmix64) for noise and phases.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next();
  double Uniform();  // in [0, 1)

 private:
  uint64_t state_;
};

}  // namespace sim

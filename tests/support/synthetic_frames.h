// Deterministic waveform frames for the arithmetic tests and benchmarks. Integer arithmetic only,
// so the native and the Windows build feed the arithmetic identical frames.
#pragma once

#include <cstdint>

#include "meas_record.h"

// One tone of the frame: amplitude in raw codes, frequency in millihertz.
struct SyntheticTone {
  int32_t amplitude;
  int64_t milliHz;
  uint32_t phase;  // starting phase, a full turn is 2^32
};

struct SyntheticFrame {
  uint8_t range;
  int log2N;
  uint16_t clockDivider;
  int32_t dc;     // raw codes added to every sample
  int32_t noise;  // peak of the uniform noise, raw codes
  uint32_t seed;  // of the noise generator
  SyntheticTone tones[6];
};

// sin of a phase (a full turn is 2^32) times 2^30, from a fifth-order polynomial in integers.
int32_t IntegerSine(uint32_t phase);

// Calibration groups that look like an instrument's: five points on range 0, three on range 1.
void FillPlausibleCalibration(TMeasRecord* rec);

// Writes range, log2N, clockDivider and samples[0..N-1] of rec; samples are clipped to 16 bits.
void FillSyntheticFrame(const SyntheticFrame& frame, TMeasRecord* rec);

// A 50 Hz mains-like frame with odd harmonics and noise.
SyntheticFrame MainsFrame(uint8_t range, int log2N, uint32_t seed);

// FNV-1a, 64 bits, of a byte block.
uint64_t Fnv1a64(const void* data, std::size_t size);

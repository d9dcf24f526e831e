// Frequency step of the spectrum and time between samples, from the sampling clock divider.
#pragma once

#include <cstdint>

struct FrameTiming {
  float binWidthHz;
  float samplePeriodMs;
};

// Sampling rate 16 MHz / clockDivider: bin width rate / N, period 1000 / rate. Both 1.0 when
// clockDivider or log2N is 0.
FrameTiming ComputeFrameTiming(uint16_t clockDivider, int log2N);

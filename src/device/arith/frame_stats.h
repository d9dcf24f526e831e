// Integer statistics of a raw frame: sums, extremes, twice the RMS and mean, AC weight, trigger.
#pragma once

#include <cstdint>

struct FrameSums {
  int64_t sum;
  int64_t sumSq;
  int64_t max;
  int64_t min;
};

// Sum, sum of squares, largest and smallest of samples[0..n-1], n >= 1, all exact.
FrameSums SumFrame(const int16_t* samples, int n);

// floor(sum / 2^log2N): an arithmetic shift, so a negative sum rounds toward minus infinity.
int64_t FloorMean(int64_t sum, int log2N);

// R2: twice the RMS, floor(sqrt(4 * floor(sumSq / N))). A frame of nothing but -32768 reaches
// 65,536, which is held at 65,535.
uint16_t TwiceRms(int64_t sumSq, int log2N);

// D2: twice the magnitude of the mean, floor(2 * |sum| / N), held at 65,535 like R2.
uint16_t TwiceMeanMagnitude(int64_t sum, int log2N);

// Share of the alternating part in units of 1/65,536: 0 when D2 >= R2, otherwise
// 65535 - floor(D2 * 65536 / R2).
uint16_t AcWeight(uint16_t d2, uint16_t r2);

// First idx in 0..N/8 with samples[idx] <= mean <= samples[idx + 1], else N/8: the first upward
// crossing of the mean, shown at time 0 of the waveform.
int32_t FindTriggerIndex(const int16_t* samples, int log2N, int64_t mean);

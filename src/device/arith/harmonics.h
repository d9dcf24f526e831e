// Fundamental, harmonics, distortion factor and the spectrum in per cent of the fundamental.
#pragma once

#include <cstdint>

#include "meas_record.h"

constexpr int kHighestHarmonic = 40;

struct Fundamental {
  float peak;        // largest bin of the 40-70 Hz band, raw units; 0 if none is above 0
  uint32_t peakBin;  // its index; 0 if none is above 0
};

// The largest bin from trunc(40 / binWidthHz) while below 70 / binWidthHz, and never at or above
// `bins`; ties keep the lowest. Sets *fundamentalHz to the bin's frequency when one is found and
// leaves it alone otherwise.
Fundamental FindFundamental(const float* spectrum, uint32_t bins, float binWidthHz,
                            float* fundamentalHz);

// Amplitudes 0..40 (raw units) and their per cent of harmonic 1 into entries 0..40 and 50..90 of
// block; a harmonic at or above `bins` gets 0. Other entries are not touched.
void FillHarmonics(const float* spectrum, uint32_t bins, uint32_t peakBin, float fundamentalHz,
                   float binWidthHz, HarmonicBlock* block);

// КИС in per cent from the amplitudes of block: 100 * sqrt(sum of squares 2..40) / amplitude 1.
float DistortionFactor(const HarmonicBlock& block);

// acc + v * v, formed in extended and rounded to single: the step of every single-precision sum
// of squares.
float AddSquare(float acc, float v);

// spectrum[0..bins-1] in per cent of peak when peak is above 10 raw units, else all 0.
void SpectrumToPercent(float* spectrum, uint32_t bins, float peak);

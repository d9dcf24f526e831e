// Calibrated RMS in value units: the instrument's piecewise-linear table, blended with the DC
// gain by the signal's AC weight. All integer arithmetic, as the instrument does it.
#pragma once

#include <cstdint>

#include "meas_record.h"

struct RmsSegment {
  uint16_t xlo;    // raw code where the segment starts
  uint16_t ylo;    // value units at xlo
  uint16_t slope;  // value units per raw code, times 2^16
};

// The segment ending at the first breakpoint X[k] >= r2; a value on a breakpoint belongs to the
// segment that ends there. Above every breakpoint the last segment that has one (the highest k
// with X[k] not 0; the first if none has) is extended.
RmsSegment ChooseRmsSegment(const TKalibrConsts& cal, uint16_t r2);

// Calibrated RMS, value units, for twice the RMS r2 and AC weight w.
int64_t CalibratedRmsUnits(const TKalibrConsts& cal, uint16_t r2, uint16_t w);

// Correction of values of 20 kV and more on range 0 when the signal is essentially DC.
#pragma once

#include <cstdint>

// Magnitude thresholds, kV: the correction walks down the table until the value's whole part
// exceeds the entry. Entry 0 is never compared.
extern const float DcCorrTable[14];

// Whether a record's values get the correction: range 0 and an AC weight of 15,000 or less.
bool NeedsDcCorrection(uint8_t range, uint16_t acWeight);

// x less 0.09, then 0.01 further away from zero per table step; values below 20 in magnitude
// are returned unchanged.
float CorrectDcValue(float x);

// Raw codes and value units to kilovolts. A value unit is 0.01 kV on range 0, 0.001 kV on
// range 1; the gain DC gives value units per raw code times 2^15.
#pragma once

#include <cstdint>

// One waveform sample in kV: floor(s * DC / 32768) value units of the frame's range.
float SampleToKilovolts(int16_t s, uint16_t dc, uint8_t range);

// floor(code * DC / 32768) in units of 0.01 kV (before the range factor).
float CodeToKilovolts(int64_t code, uint16_t dc);

// A count of 0.01 kV units in kV.
float UnitsToKilovolts(int64_t units);

// The readouts of range 1 come in 0.001 kV: a value already in 0.01 kV units times 0.1.
float ApplyRangeFactor(float kv);

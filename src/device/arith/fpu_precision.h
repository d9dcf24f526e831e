// Precision of the x87 unit, which does all long double arithmetic of the measurement.
#pragma once

// Sets the calling thread's x87 unit to a 64-bit significand and rounding to nearest, leaving
// the exception masks alone. A Windows thread starts with a 53-bit significand, which would
// round every extended intermediate of the arithmetic differently.
void EnsureExtendedPrecision();

// Significand bits the calling thread's x87 unit rounds to now: 24, 53 or 64; 0 on a processor
// without an x87 unit.
int X87SignificandBits();

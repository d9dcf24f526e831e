// The last 20 harmonic blocks of a record and the block the windows show.
#pragma once

#include <cstdint>

#include "meas_record.h"

// Moves every block one place older: block 19 takes block 18, ..., block 1 takes block 0. Block 0
// keeps its values until the new reading overwrites them.
void ShiftHarmonicHistory(HarmonicBlock* history);

// A live reading counts into the average, up to the depth of the history.
uint32_t NextHistoryCount(uint32_t historyCount);

// The shown block of a live record: amplitudes copied from block 0; each per-cent entry and КИС
// the RMS over all 20 blocks divided by count (count >= 1).
void AverageHarmonics(const HarmonicBlock* history, uint32_t count, HarmonicBlock* shown);

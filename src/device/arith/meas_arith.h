// Turns one received waveform frame into every value the windows show.
#pragma once

#include "meas_record.h"

// Computes voltage, uRms, uDc, uMax, uMin, acWeight, triggerIndex, binWidthHz, samplePeriodMs,
// the spectrum, fundamentalHz, the harmonic history and shown block, historyCount (live records
// only, as SourceMode says) from range, kalibr, log2N, clockDivider and samples. Runs on the
// connection thread. A record whose log2N lies outside 1..14 is left unchanged.
void ProcessMeasRecord(TMeasRecord* rec);

// Amplitude spectrum of a waveform frame: radix-2 FFT of the raw samples and the RMS amplitude
// of every bin.
#pragma once

#include "meas_record.h"

// Fills spectrum[0..N/2-1] of rec from samples[0..N-1], N = 2^log2N, 1 <= log2N <= 14: the mean's
// magnitude in bin 0, the RMS of each bin's sinusoid above it, in raw sample units. Touches no
// other field. A log2N outside 1..14 leaves the record unchanged.
void CalcSpektr(TMeasRecord* rec);

// Magnitude of one transform bin as the spectrum keeps it: the sum of squares rounded to double,
// its square root rounded to single.
float BinMagnitude(double re, double im);

// Constant tables of the FFT: byte bit reversal and the principal root of every stage.
#pragma once

#include <array>
#include <cstdint>

struct ExtendedComplex {
  long double re;
  long double im;
};

// Entry b is b with its eight bits in reverse order.
extern const std::array<uint8_t, 256> BitReverseTable;

// Entry s is exp(-2*pi*i / 2^(s+1)), the root of the stage whose butterfly span is 2^(s+1): the
// correctly rounded double values of its cosine and negated sine, held in extended precision.
extern const std::array<ExtendedComplex, 32> FftRootTable;

// The log2N-bit reversal of j (1 <= log2N <= 32), built bytewise through BitReverseTable.
uint32_t ReverseIndexBits(uint32_t j, int log2N);

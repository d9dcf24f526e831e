#include "fpu_precision.h"

#include <cstdint>

#if defined(__i386__) || defined(__x86_64__)

namespace {

// Control word bits 8-9: precision control (11 = 64 bits); bits 10-11: rounding (00 = nearest).
constexpr uint16_t kPrecisionMask = 0x0300;
constexpr uint16_t kRoundingMask = 0x0C00;

uint16_t ReadControlWord() {
  uint16_t cw;
  __asm__ __volatile__("fnstcw %0" : "=m"(cw));
  return cw;
}

}  // namespace

void EnsureExtendedPrecision() {
  const uint16_t cw = ReadControlWord();
  uint16_t wanted =
      static_cast<uint16_t>((cw & ~(kPrecisionMask | kRoundingMask)) | kPrecisionMask);
  if (wanted != cw)
    __asm__ __volatile__("fldcw %0" : : "m"(wanted));
}

int X87SignificandBits() {
  switch ((ReadControlWord() & kPrecisionMask) >> 8) {
    case 0:
      return 24;
    case 2:
      return 53;
    case 3:
      return 64;
    default:
      return 0;
  }
}

#else

void EnsureExtendedPrecision() {}
int X87SignificandBits() {
  return 0;
}

#endif

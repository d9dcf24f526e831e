#include "signal.h"

#include <algorithm>
#include <cmath>

namespace sim {
namespace {

constexpr double kPi = 3.14159265358979323846;

void PutWord(std::vector<uint8_t>* bytes, size_t at, uint16_t value) {
  (*bytes)[at] = static_cast<uint8_t>(value & 0xFF);
  (*bytes)[at + 1] = static_cast<uint8_t>(value >> 8);
}

// Builds the RMS table from its slopes: each value continues the previous segment, so the table
// is continuous and an ideal reading lands on the line that DC alone would give.
Calibration Table(uint16_t dc, const uint16_t (&x)[5], const uint16_t (&a)[5], int points) {
  Calibration cal{};
  cal.dc = dc;
  uint32_t xlo = 0;
  uint32_t ylo = 0;
  for (int k = 0; k < points; ++k) {
    cal.x[k] = x[k];
    cal.a[k] = a[k];
    ylo += static_cast<uint32_t>((uint64_t{a[k]} * (x[k] - xlo)) >> 16);
    cal.y[k] = static_cast<uint16_t>(ylo);
    xlo = x[k];
  }
  return cal;
}

}  // namespace

uint64_t Random::Next() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double Random::Uniform() {
  return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0);
}

Calibration CalibrationOf(uint8_t range) {
  // Both ranges span about ±50,000 units at full scale: ±49.99 kV on range 0, ±4.999 kV on
  // range 1. The last breakpoint is the top of the 16-bit scale, so every reading finds a segment.
  // The slopes stray a little from DC, as a real divider's linearity does.
  if (range == 0) {
    return Table(5000, {2000, 6000, 12000, 24000, 65535}, {5040, 5020, 5000, 4990, 4980}, 5);
  }
  // Range 1 keeps three points; the instrument has no more for it.
  return Table(5000, {8000, 24000, 65535, 0, 0}, {5030, 5000, 4985, 0, 0}, 3);
}

std::vector<uint8_t> ParameterReply() {
  std::vector<uint8_t> reply(98);
  // Bytes the program skips: a fixed pattern, so that replies are the same every time.
  for (size_t i = 0; i < reply.size(); ++i)
    reply[i] = static_cast<uint8_t>(i * 37 + 11);
  Calibration r0 = CalibrationOf(0);
  Calibration r1 = CalibrationOf(1);
  for (int k = 0; k < 5; ++k) {
    PutWord(&reply, 20 + 2 * k, r0.a[k]);
    PutWord(&reply, 30 + 2 * k, r0.x[k]);
    PutWord(&reply, 40 + 2 * k, r0.y[k]);
  }
  PutWord(&reply, 50, r0.dc);
  for (int k = 0; k < 3; ++k) {
    PutWord(&reply, 52 + 2 * k, r1.a[k]);
    PutWord(&reply, 58 + 2 * k, r1.x[k]);
    PutWord(&reply, 64 + 2 * k, r1.y[k]);
  }
  PutWord(&reply, 70, r1.dc);
  PutWord(&reply, 72, static_cast<uint16_t>(kZeroOffset));
  return reply;
}

std::vector<uint8_t> WaveformReply(const WaveSpec& spec) {
  std::vector<uint8_t> reply(2 * size_t{spec.samples} + 2);
  // Bit 15 set marks range 0; bits 0-14 carry the sampling clock divider.
  uint16_t header =
      static_cast<uint16_t>((spec.clockDivider & 0x7FFF) | (spec.range == 0 ? 0x8000 : 0));
  PutWord(&reply, 0, header);

  // Sample code per kilovolt: the inverse of the program's code * DC / 32768 * unit.
  double unitKv = spec.range == 0 ? 0.01 : 0.001;
  double codesPerKv = 32768.0 / (CalibrationOf(spec.range).dc * unitKv);
  double rate = 16000000.0 / spec.clockDivider;
  double omega = 2.0 * kPi * spec.frequencyHz / rate;
  double peak = spec.rmsKv * std::sqrt(2.0);
  static const int kOrders[3] = {3, 5, 7};
  Random noise(spec.noiseSeed);
  for (uint32_t i = 0; i < spec.samples; ++i) {
    double angle = omega * i + spec.phase;
    double kv = spec.dcKv + peak * std::sin(angle);
    for (int h = 0; h < 3; ++h) {
      kv += peak * spec.harmonics[h] * std::sin(kOrders[h] * angle + 0.5 * h);
    }
    if (spec.noiseKv > 0) {
      // The sum of four uniforms: roughly normal, bounded, cheap.
      double sum = noise.Uniform() + noise.Uniform() + noise.Uniform() + noise.Uniform() - 2.0;
      kv += spec.noiseKv * sum * std::sqrt(3.0);
    }
    // An overloaded input clips at the converter's limits, as the real one does.
    double code = std::clamp(std::round(kv * codesPerKv), -32768.0, 32767.0);
    PutWord(&reply, 2 + 2 * size_t{i}, static_cast<uint16_t>(static_cast<int16_t>(code)));
  }
  return reply;
}

WaveSpec MemorySlotSpec(uint32_t slot, uint32_t samples, uint16_t clockDivider, uint64_t seed) {
  WaveSpec spec;
  spec.samples = samples;
  spec.clockDivider = clockDivider;
  spec.noiseSeed = seed * 1000003u + slot;
  spec.phase = 0.3 * slot;
  if (slot <= 11) {
    // Sines of 2 to 22 kV between 47.5 and 53 Hz with their own harmonic mix.
    spec.rmsKv = 2.0 * slot;
    spec.frequencyHz = 47.0 + 0.5 * slot;
    spec.harmonics[0] = 0.005 * (slot % 4 + 1);
    spec.harmonics[1] = 0.004 * (slot % 3 + 1);
    spec.harmonics[2] = 0.002 * (slot % 5);
    spec.dcKv = 0.01 * slot;
    spec.noiseKv = 0.02;
  } else if (slot <= 13) {
    // Low voltages recorded on range 1.
    spec.range = 1;
    spec.rmsKv = slot == 12 ? 0.5 : 2.5;
    spec.frequencyHz = slot == 12 ? 60.0 : 45.0;
    spec.noiseKv = 0.002;
  } else {
    // Direct voltages above 20 kV, both polarities.
    spec.rmsKv = 0.0;
    spec.harmonics[0] = spec.harmonics[1] = spec.harmonics[2] = 0.0;
    spec.dcKv = slot == 14 ? -25.0 : 30.0;
    spec.noiseKv = 0.02;
  }
  return spec;
}

}  // namespace sim

// The measurement record: one complete reading, whose memory image is also the record file.
#pragma once

#include <cstddef>
#include <cstdint>

// One calibration group of a measuring range, sixteen unsigned 16-bit values.
struct TKalibrConsts {
  uint16_t DC;    // gain: value units per raw code, times 2^15
  uint16_t X[5];  // breakpoints, raw codes of twice the RMS
  uint16_t Y[5];  // calibrated value at each breakpoint, value units
  uint16_t A[5];  // slope of the segment ending at X[k], value units per code, times 2^16
};

// Harmonic amplitudes, their share of harmonic 1 and the distortion factor.
struct HarmonicBlock {
  static constexpr int kPercentBase = 50;  // index of harmonic 0 in per cent
  static constexpr int kKis = 100;         // index of the distortion factor
  float value[101];
};

constexpr int kMaxLog2N = 14;
constexpr int kMaxSamples = 1 << kMaxLog2N;  // 16,384
constexpr int kMaxBins = kMaxSamples / 2;    // 8,192
constexpr int kHistoryDepth = 20;
constexpr int kMemorySlots = 15;

struct TMeasRecord {
  uint8_t range;  // 0: values in 0.01 kV, 1: values in 0.001 kV
  uint8_t unused1;
  TKalibrConsts kalibr[2];
  int16_t zeroOffset;
  int32_t log2N;
  uint8_t unused72[2];
  uint16_t clockDivider;  // sampling rate = 16 MHz / clockDivider
  int16_t samples[kMaxSamples];
  float voltage[kMaxSamples];
  float uRms;
  float uDc;
  float uMin;
  float uMax;
  float spectrum[kMaxBins];
  float binWidthHz;
  float samplePeriodMs;
  float fundamentalHz;
  HarmonicBlock shownHarmonics;
  HarmonicBlock harmonicHistory[kHistoryDepth];
  uint32_t historyCount;
  int32_t triggerIndex;
  uint16_t acWeight;
  uint8_t unusedTail[1026];
};

constexpr std::size_t kRecordSize = 140696;

static_assert(sizeof(TKalibrConsts) == 32, "calibration group layout");
static_assert(sizeof(HarmonicBlock) == 404, "harmonic block layout");
static_assert(sizeof(TMeasRecord) == kRecordSize, "record file layout");
static_assert(offsetof(TMeasRecord, range) == 0);
static_assert(offsetof(TMeasRecord, kalibr) == 2);
static_assert(offsetof(TMeasRecord, kalibr) + sizeof(TKalibrConsts) == 34);
static_assert(offsetof(TMeasRecord, zeroOffset) == 66);
static_assert(offsetof(TMeasRecord, log2N) == 68);
static_assert(offsetof(TMeasRecord, unused72) == 72);
static_assert(offsetof(TMeasRecord, clockDivider) == 74);
static_assert(offsetof(TMeasRecord, samples) == 76);
static_assert(offsetof(TMeasRecord, voltage) == 32844);
static_assert(offsetof(TMeasRecord, uRms) == 98380);
static_assert(offsetof(TMeasRecord, uDc) == 98384);
static_assert(offsetof(TMeasRecord, uMin) == 98388);
static_assert(offsetof(TMeasRecord, uMax) == 98392);
static_assert(offsetof(TMeasRecord, spectrum) == 98396);
static_assert(offsetof(TMeasRecord, binWidthHz) == 131164);
static_assert(offsetof(TMeasRecord, samplePeriodMs) == 131168);
static_assert(offsetof(TMeasRecord, fundamentalHz) == 131172);
static_assert(offsetof(TMeasRecord, shownHarmonics) == 131176);
static_assert(offsetof(TMeasRecord, harmonicHistory) == 131580);
static_assert(offsetof(TMeasRecord, historyCount) == 139660);
static_assert(offsetof(TMeasRecord, triggerIndex) == 139664);
static_assert(offsetof(TMeasRecord, acWeight) == 139668);
static_assert(offsetof(TMeasRecord, unusedTail) == 139670);

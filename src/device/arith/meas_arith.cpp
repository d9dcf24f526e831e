#include "meas_arith.h"

#include "dc_correction.h"
#include "fpu_precision.h"
#include "frame_stats.h"
#include "frame_timing.h"
#include "harmonic_history.h"
#include "harmonics.h"
#include "records.h"
#include "rms_calibration.h"
#include "spectrum.h"
#include "value_scaling.h"

namespace {

void StoreValues(TMeasRecord* rec, const TKalibrConsts& cal, const FrameSums& sums, int64_t mean,
                 uint16_t r2) {
  rec->uRms = UnitsToKilovolts(CalibratedRmsUnits(cal, r2, rec->acWeight));
  rec->uDc = CodeToKilovolts(mean, cal.DC);
  rec->uMax = CodeToKilovolts(sums.max, cal.DC);
  rec->uMin = CodeToKilovolts(sums.min, cal.DC);
  if (rec->range != 0) {
    rec->uDc = ApplyRangeFactor(rec->uDc);
    rec->uRms = ApplyRangeFactor(rec->uRms);
    rec->uMax = ApplyRangeFactor(rec->uMax);
    rec->uMin = ApplyRangeFactor(rec->uMin);
  }
  if (NeedsDcCorrection(rec->range, rec->acWeight)) {
    rec->uMax = CorrectDcValue(rec->uMax);
    rec->uMin = CorrectDcValue(rec->uMin);
    rec->uDc = CorrectDcValue(rec->uDc);
    rec->uRms = CorrectDcValue(rec->uRms);
  }
}

void StoreHarmonics(TMeasRecord* rec, uint32_t bins) {
  ShiftHarmonicHistory(rec->harmonicHistory);
  CalcSpektr(rec);
  const Fundamental f = FindFundamental(rec->spectrum, bins, rec->binWidthHz, &rec->fundamentalHz);
  HarmonicBlock& newest = rec->harmonicHistory[0];
  FillHarmonics(rec->spectrum, bins, f.peakBin, rec->fundamentalHz, rec->binWidthHz, &newest);
  newest.value[HarmonicBlock::kKis] = DistortionFactor(newest);
  const uint8_t source = SourceMode.load();
  if (source == kSourceFile || source == kSourceMemory) {
    rec->shownHarmonics = newest;
  } else {
    rec->historyCount = NextHistoryCount(rec->historyCount);
    AverageHarmonics(rec->harmonicHistory, rec->historyCount, &rec->shownHarmonics);
  }
  SpectrumToPercent(rec->spectrum, bins, f.peak);
}

}  // namespace

void ProcessMeasRecord(TMeasRecord* rec) {
  const int log2N = rec->log2N;
  if (log2N < 1 || log2N > kMaxLog2N)
    return;
  // Every extended intermediate below must round to 64 bits, whatever thread calls.
  EnsureExtendedPrecision();
  const int n = 1 << log2N;
  // Any range but 0 is the instrument's range 1.
  const TKalibrConsts& cal = rec->kalibr[rec->range == 0 ? 0 : 1];

  for (int i = 0; i < n; ++i)
    rec->voltage[i] = SampleToKilovolts(rec->samples[i], cal.DC, rec->range);
  const FrameSums sums = SumFrame(rec->samples, n);
  const int64_t mean = FloorMean(sums.sum, log2N);
  const uint16_t r2 = TwiceRms(sums.sumSq, log2N);
  rec->acWeight = AcWeight(TwiceMeanMagnitude(sums.sum, log2N), r2);

  StoreValues(rec, cal, sums, mean, r2);
  rec->triggerIndex = FindTriggerIndex(rec->samples, log2N, mean);
  const FrameTiming timing = ComputeFrameTiming(rec->clockDivider, log2N);
  rec->binWidthHz = timing.binWidthHz;
  rec->samplePeriodMs = timing.samplePeriodMs;
  StoreHarmonics(rec, static_cast<uint32_t>(n / 2));
}

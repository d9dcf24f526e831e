// One reading's arithmetic: ProcessMeasRecord with its FFT, and the FFT alone, for the live
// frame (4,096 samples) and a memory slot (16,384).
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "fpu_precision.h"
#include "meas_arith.h"
#include "records.h"
#include "spectrum.h"
#include "synthetic_frames.h"

namespace {

std::unique_ptr<TMeasRecord> MainsRecord(int log2N) {
  auto rec = std::make_unique<TMeasRecord>();
  std::memset(rec.get(), 0, sizeof(TMeasRecord));
  FillPlausibleCalibration(rec.get());
  FillSyntheticFrame(MainsFrame(0, log2N, 1), rec.get());
  return rec;
}

void BM_ProcessMeasRecord(benchmark::State& state) {
  EnsureExtendedPrecision();
  SourceMode = kSourceLive;
  auto rec = MainsRecord(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    ProcessMeasRecord(rec.get());
    benchmark::DoNotOptimize(rec->shownHarmonics.value[100]);
  }
}
BENCHMARK(BM_ProcessMeasRecord)->Arg(12)->Arg(14)->Unit(benchmark::kMicrosecond);

void BM_CalcSpektr(benchmark::State& state) {
  EnsureExtendedPrecision();
  auto rec = MainsRecord(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    CalcSpektr(rec.get());
    benchmark::DoNotOptimize(rec->spectrum[40]);
  }
}
BENCHMARK(BM_CalcSpektr)->Arg(12)->Arg(14)->Unit(benchmark::kMicrosecond);

}  // namespace

// Showing one record in the main window, with the spectrum window's refill, and redrawing both
// charts: a live reading (4,096 samples) and a memory slot (16,384).
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "fpu_precision.h"
#include "main_form.h"
#include "meas_arith.h"
#include "recording_canvas.h"
#include "records.h"
#include "spektr_form.h"
#include "synthetic_frames.h"

namespace {

void BM_ShowMeasRecordAndRedraw(benchmark::State& state) {
  auto rec = std::make_unique<TMeasRecord>();
  std::memset(rec.get(), 0, sizeof(TMeasRecord));
  FillPlausibleCalibration(rec.get());
  FillSyntheticFrame(MainsFrame(0, static_cast<int>(state.range(0)), 1), rec.get());
  EnsureExtendedPrecision();
  SourceMode = kSourceLive;
  ProcessMeasRecord(rec.get());

  TMForm form(nullptr);
  form.ComboBoxU->SetItemIndex(0);
  // The window's chart area at its designed size, 20 ms a division.
  form.ChartSignal.SetBounds(chart::Rect{0, 0, 965, 340});
  form.ChartSignal.BottomAxis().SetMinMax(0, 200);
  form.ChartSignal.BottomAxis().SetIncrement(20);
  TSpektrForm spektr(nullptr);
  SpektrForm = &spektr;
  spektr.SpektrChart.SetBounds(chart::Rect{0, 0, 848, 360});
  chart::RecordingCanvas canvas(965, 340);
  chart::RecordingCanvas spektrCanvas(848, 360);
  for (auto _ : state) {
    form.ShowMeasRecord(rec.get());
    canvas.Clear();
    form.ChartSignal.Paint(canvas);
    spektrCanvas.Clear();
    spektr.SpektrChart.Paint(spektrCanvas);
    benchmark::DoNotOptimize(canvas.ops().data());
    benchmark::DoNotOptimize(spektrCanvas.ops().data());
  }
  SpektrForm = nullptr;
}
BENCHMARK(BM_ShowMeasRecordAndRedraw)->Arg(12)->Arg(14)->Unit(benchmark::kMicrosecond);

}  // namespace

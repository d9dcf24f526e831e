// The log window after a long day: one more reading through AddLogPoint with the redraw it asks
// for, after 10 and after 1,000,000 readings, at the shortest and the longest time scale; and the
// memory the series hold per logged point.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "log_form.h"
#include "recording_canvas.h"
#include "settings.h"

namespace {

constexpr double kReadingDays = 0.1 / 86400.0;  // about ten live readings a second

struct LoggedWindow {
  explicit LoggedWindow(int64_t readings, int time_scale) {
    // No settings file: the window takes its defaults.
    IniFileName = "log_window_bench_missing.ini";
    LogForm = new TLogForm(nullptr);
    LogForm->Clock = [this] { return now; };
    LogForm->ComboBox2->SelectByUser(time_scale);
    LogForm->LogChart.SetBounds(chart::Rect{0, 0, 800, 500});
    for (int64_t i = 0; i < readings; ++i)
      AddReading();
  }
  ~LoggedWindow() { delete LogForm; }

  void AddReading() {
    const float wave = static_cast<float>(std::sin(static_cast<double>(count++) * 0.001));
    rec->uRms = 3.5f + wave;
    rec->uDc = 0.2f * wave;
    rec->uMax = 5.0f + wave;
    rec->uMin = -5.0f + wave;
    AddLogPoint(rec.get());
    now += kReadingDays;
  }

  std::unique_ptr<TMeasRecord> rec = std::make_unique<TMeasRecord>();
  ui::TDateTime now = 45000.5;
  int64_t count = 0;
};

// Args: readings logged before, index of the time scale (0: 10 s shown, 5: 200 minutes shown).
void BM_AddLogPointAndRedraw(benchmark::State& state) {
  LoggedWindow window(state.range(0), static_cast<int>(state.range(1)));
  chart::RecordingCanvas canvas(800, 500);
  for (auto _ : state) {
    window.AddReading();
    canvas.Clear();
    LogForm->LogChart.Paint(canvas);
    benchmark::DoNotOptimize(canvas.ops().data());
  }
}
BENCHMARK(BM_AddLogPointAndRedraw)
    ->Args({10, 0})
    ->Args({10, 5})
    ->Args({1000000, 0})
    ->Args({1000000, 5})
    ->Unit(benchmark::kMillisecond);

// Bytes the four series hold per logged point: what is filled, and what is reserved.
void BM_MemoryPerLoggedPoint(benchmark::State& state) {
  LoggedWindow window(state.range(0), 0);
  for (auto _ : state)
    benchmark::DoNotOptimize(LogForm->SeriesRMS->Count());
  double used = 0;
  double reserved = 0;
  double points = 0;
  for (const chart::Series* s :
       {LogForm->SeriesRMS, LogForm->SeriesDC, LogForm->SeriesMax, LogForm->SeriesMin}) {
    used += static_cast<double>(s->XValues().size() + s->YValues().size()) * sizeof(double);
    reserved +=
        static_cast<double>(s->XValues().capacity() + s->YValues().capacity()) * sizeof(double);
    points += static_cast<double>(s->Count());
  }
  state.counters["used_bytes_per_point"] = used / points;
  state.counters["reserved_bytes_per_point"] = reserved / points;
  state.counters["reserved_bytes_per_reading"] = reserved / static_cast<double>(state.range(0));
}
BENCHMARK(BM_MemoryPerLoggedPoint)->Arg(1000000)->Iterations(1);

}  // namespace

// The log window after a long day: one more reading through AddLogPoint with the redraw it asks
// for, after 10 and after 1,000,000 readings, at the shortest and the longest time scale; the
// memory the series hold per logged point; the cursor under a moving mouse with its redraw, and
// the CSV export, each over 1,000,000 readings.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

#include "dialogs.h"
#include "log_form.h"
#include "recording_canvas.h"
#include "settings.h"

// Every allocation of the program is counted, so that a benchmark can report the most heap it
// held at once.
namespace {
std::atomic<long long> heap_now{0};
std::atomic<long long> heap_peak{0};
}  // namespace

void* operator new(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr)
    throw std::bad_alloc();
  const long long now = heap_now += static_cast<long long>(malloc_usable_size(p));
  long long peak = heap_peak.load();
  while (now > peak && !heap_peak.compare_exchange_weak(peak, now)) {
  }
  return p;
}

void operator delete(void* p) noexcept {
  if (p == nullptr)
    return;
  heap_now -= static_cast<long long>(malloc_usable_size(p));
  std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
  operator delete(p);
}

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

// Moves the mouse over a chart that shows all 1,000,000 readings, each move with the immediate
// redraw that runs the cursor line.
void BM_CursorMoveAndRedraw(benchmark::State& state) {
  LoggedWindow window(state.range(0), 0);
  LogForm->CursorCheckBox->SetChecked(true);
  LogForm->LogChart.BottomAxis().SetMinMax(LogForm->SeriesDC->XValue(0), window.now);
  chart::RecordingCanvas canvas(800, 500);
  LogForm->LogChart.Paint(canvas);
  int x = 0;
  for (auto _ : state) {
    x = (x + 37) % 800;
    LogForm->LogChartBox->MouseMove(x, 200);
    canvas.Clear();
    LogForm->LogChart.Paint(canvas);
    benchmark::DoNotOptimize(LogForm->LogCursorIndex);
  }
}
BENCHMARK(BM_CursorMoveAndRedraw)->Arg(1000000)->Unit(benchmark::kMillisecond);

// "Сохранить" with 1,000,000 readings logged, into a file of the temporary folder; reports the
// most heap the export held beyond what the log holds, and the file's size.
void BM_ExportCsv(benchmark::State& state) {
  LoggedWindow window(state.range(0), 0);
  const std::string path = "/tmp/vrx_log_export_bench.csv";
  ui::SetFileDialogHook([&](ui::TFileDialog& dialog) {
    dialog.fileName = path;
    return true;
  });
  long long most = 0;
  for (auto _ : state) {
    const long long before = heap_now.load();
    heap_peak = before;
    LogForm->Button1->Click();
    most = std::max(most, heap_peak.load() - before);
  }
  ui::SetFileDialogHook(nullptr);
  std::FILE* file = std::fopen(path.c_str(), "rb");
  long size = 0;
  if (file != nullptr) {
    std::fseek(file, 0, SEEK_END);
    size = std::ftell(file);
    std::fclose(file);
  }
  std::remove(path.c_str());
  state.counters["peak_heap_bytes"] = static_cast<double>(most);
  state.counters["file_bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_ExportCsv)->Arg(1000000)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

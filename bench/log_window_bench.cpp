// The log window after a long day: one more reading through AddLogPoint with the redraw it asks
// for, after 10 and after 1,000,000 readings, at the shortest and the longest time scale; a log
// that runs for weeks: the slowest single reading with its redraw across the first 10,000,000
// readings, and the heap the log takes per reading; the cursor under a moving mouse with its
// redraw, and the CSV export, each over 1,000,000 readings.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
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

// Bytes the heap has handed out, blocks it keeps for itself included.
double HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd);
}

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Arg: readings. Every reading goes through AddLogPoint and a paint of the 800 × 500 chart, each
// timed on its own: by the wall clock, and by the thread's processor time, which leaves out the
// time the thread waited for a processor on a busy machine (not what the host of a virtual machine
// takes away: that counts as the thread's).
void BM_SlowestReadingAndHeapPerReading(benchmark::State& state) {
  const int64_t readings = state.range(0);
  for (auto _ : state) {
    const double heap_before = HeapInUse();
    LoggedWindow window(0, 0);
    chart::RecordingCanvas canvas(800, 500);
    double slowest_wall = 0;
    double slowest_cpu = 0;
    int64_t slowest_at = 0;
    // A single slow reading may be the machine's doing; many would be the log's. The readings
    // that open a block are the only ones that allocate.
    int64_t over_5ms = 0;
    double slowest_new_block = 0;
    const auto started = std::chrono::steady_clock::now();
    for (int64_t i = 0; i < readings; ++i) {
      const double cpu_before = ThreadCpuSeconds();
      const auto wall_before = std::chrono::steady_clock::now();
      window.AddReading();
      canvas.Clear();
      LogForm->LogChart.Paint(canvas);
      const double wall =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_before).count();
      slowest_cpu = std::max(slowest_cpu, ThreadCpuSeconds() - cpu_before);
      over_5ms += wall > 5e-3;
      if (i % chart::PointBlocks::kBlockPoints == 0)
        slowest_new_block = std::max(slowest_new_block, wall);
      if (wall > slowest_wall) {
        slowest_wall = wall;
        slowest_at = i;
      }
    }
    const double total =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    state.counters["slowest_wall_ms"] = slowest_wall * 1e3;
    state.counters["slowest_at_reading"] = static_cast<double>(slowest_at);
    state.counters["slowest_cpu_ms"] = slowest_cpu * 1e3;
    state.counters["readings_over_5ms"] = static_cast<double>(over_5ms);
    state.counters["slowest_new_block_ms"] = slowest_new_block * 1e3;
    state.counters["mean_us"] = total / static_cast<double>(readings) * 1e6;
    state.counters["heap_bytes_per_reading"] =
        (HeapInUse() - heap_before) / static_cast<double>(readings);
    state.counters["points_per_series"] = static_cast<double>(LogForm->SeriesRMS->Count());
  }
}
BENCHMARK(BM_SlowestReadingAndHeapPerReading)
    ->Arg(10000000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

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

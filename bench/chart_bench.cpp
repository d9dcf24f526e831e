// The log window after a long day: one more reading and its redraw, with 1,000,000 points in the
// series, for the usual ten-increment window and for the whole log in view.
#include <benchmark/benchmark.h>

#include <cmath>

#include "chart.h"
#include "line_series.h"
#include "recording_canvas.h"

namespace {

constexpr double kReading = 0.1 / 86400.0;  // ten readings a second, in days
constexpr int kPoints = 1000000;

void AddPointAndRedraw(benchmark::State& state, bool whole_log) {
  chart::Chart chart;
  chart.SetBounds(chart::Rect{0, 0, 800, 500});
  chart.BottomAxis().SetDateTime(true);
  chart.BottomAxis().SetIncrement(60.0 / 86400.0);
  chart.LeftAxis().SetMinMax(-5, 5);
  chart::LineSeries& series = chart.AddSeries<chart::LineSeries>();
  series.SetLineWidth(2);
  double t = 45000.0;
  for (int i = 0; i < kPoints; ++i, t += kReading)
    series.AddXY(t, 4 * std::sin(i * 0.01));
  const double start = 45000.0;
  chart::RecordingCanvas canvas(800, 500);
  for (auto _ : state) {
    series.AddXY(t, 4 * std::sin(t));
    double minimum = whole_log ? start : t - 10 * chart.BottomAxis().Increment();
    chart.BottomAxis().SetMinMax(minimum, t);
    canvas.Clear();
    chart.Paint(canvas);
    benchmark::DoNotOptimize(canvas.ops().data());
    t += kReading;
  }
}

void BM_AddPointAndRedrawTenMinutes(benchmark::State& state) {
  AddPointAndRedraw(state, false);
}
void BM_AddPointAndRedrawWholeLog(benchmark::State& state) {
  AddPointAndRedraw(state, true);
}

void BM_AddPoint(benchmark::State& state) {
  chart::LineSeries series;
  double t = 45000.0;
  for (int i = 0; i < kPoints; ++i, t += kReading)
    series.AddXY(t, i % 100);
  for (auto _ : state) {
    series.AddXY(t, 1.0);
    t += kReading;
  }
}

}  // namespace

BENCHMARK(BM_AddPoint);
BENCHMARK(BM_AddPointAndRedrawTenMinutes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddPointAndRedrawWholeLog)->Unit(benchmark::kMillisecond);

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bar_series.h"
#include "chart.h"
#include "line_series.h"
#include "recording_canvas.h"

namespace chart {
namespace {

using Kind = CanvasOp::Kind;

std::vector<const CanvasOp*> OpsOf(const RecordingCanvas& canvas, Kind kind) {
  std::vector<const CanvasOp*> found;
  for (const CanvasOp& op : canvas.ops()) {
    if (op.kind == kind)
      found.push_back(&op);
  }
  return found;
}

// A 400 x 300 chart with fixed axes 0..100 and -10..10.
struct PaintFixture : ::testing::Test {
  PaintFixture() {
    chart.SetBounds(Rect{0, 0, 400, 300});
    chart.BottomAxis().SetMinMax(0, 100);
    chart.LeftAxis().SetMinMax(-10, 10);
  }
  const CanvasOp& OnlyPolyline() {
    auto lines = OpsOf(canvas, Kind::kPolyline);
    EXPECT_EQ(lines.size(), 1u);
    static const CanvasOp none;
    return lines.empty() ? none : *lines[0];
  }
  Chart chart;
  RecordingCanvas canvas{400, 300};
};

TEST_F(PaintFixture, DrawsALineThroughItsPointsInTheSeriesColourClippedToThePlot) {
  LineSeries& series = chart.AddSeries<LineSeries>();
  series.SetColor(0x123456);
  series.SetLineWidth(2);
  series.AddXY(0, 0);
  series.AddXY(50, 10);
  series.AddXY(100, -10);
  chart.Paint(canvas);

  const Rect plot = chart.PlotRect();
  ASSERT_GT(plot.Width(), 100);
  ASSERT_GT(plot.Height(), 100);
  const CanvasOp& line = OnlyPolyline();
  EXPECT_EQ(line.pen, (Pen{0x123456, 2, PenStyle::kSolid}));
  EXPECT_TRUE(line.clipped);
  EXPECT_EQ(line.clip, (Rect{plot.left, plot.top, plot.right + 1, plot.bottom + 1}));
  const int mid_x = (plot.left + plot.right + 1) / 2;
  const std::vector<Point> expected = {{plot.left, (plot.top + plot.bottom + 1) / 2},
                                       {chart.BottomAxis().ValueToPixelInt(50), plot.top},
                                       {plot.right, plot.bottom}};
  EXPECT_EQ(line.points, expected);
  EXPECT_NEAR(line.points[1].x, mid_x, 1);
  // The panel is filled first, labels stand outside the clip.
  ASSERT_FALSE(canvas.ops().empty());
  EXPECT_EQ(canvas.ops()[0].kind, Kind::kFill);
  EXPECT_EQ(canvas.ops()[0].fill, kChartBackground);
  for (const CanvasOp* text : OpsOf(canvas, Kind::kText))
    EXPECT_FALSE(text->clipped);
}

TEST_F(PaintFixture, DecimationKeepsEveryColumnsExtremes) {
  LineSeries& series = chart.AddSeries<LineSeries>();
  const int count = 200000;
  for (int i = 0; i < count; ++i) {
    double y = std::sin(i * 0.001);
    if (i == 70001)
      y = 9.5;  // one-sample spikes must survive the thinning
    if (i == 130007)
      y = -9.5;
    series.AddXY(100.0 * i / count, y);
  }
  chart.Paint(canvas);
  const CanvasOp& line = OnlyPolyline();
  const Rect plot = chart.PlotRect();
  EXPECT_LE(line.points.size(), 4u * (plot.Width() + 2));
  const Axis& left = chart.LeftAxis();
  auto has_row = [&line](int y) {
    return std::any_of(line.points.begin(), line.points.end(),
                       [y](const Point& p) { return p.y == y; });
  };
  EXPECT_TRUE(has_row(left.ValueToPixelInt(9.5)));
  EXPECT_TRUE(has_row(left.ValueToPixelInt(-9.5)));
  // Columns run left to right.
  for (size_t i = 1; i < line.points.size(); ++i) {
    EXPECT_LE(line.points[i - 1].x, line.points[i].x);
  }
}

TEST_F(PaintFixture, DrawsOnlyTheVisibleRangeAndOnePointBeyondEachEdge) {
  LineSeries& series = chart.AddSeries<LineSeries>();
  for (int x = -1000; x <= 1000; ++x)
    series.AddXY(x, 1);
  chart.Paint(canvas);
  const CanvasOp& line = OnlyPolyline();
  ASSERT_FALSE(line.points.empty());
  EXPECT_EQ(line.points.front().x, chart.BottomAxis().ValueToPixelInt(-1));
  EXPECT_EQ(line.points.back().x, chart.BottomAxis().ValueToPixelInt(101));
}

struct LogCase {
  const char* what;
  bool x_log;
  bool y_log;
  std::vector<std::pair<double, double>> points;
  size_t drawn;
};

TEST_F(PaintFixture, LogarithmicAxesSkipNonPositiveValues) {
  const LogCase cases[] = {
      {"log y", false, true, {{1, 1}, {2, 0}, {3, -1}, {4, 5}, {5, 10}}, 3},
      {"log x", true, false, {{-1, 1}, {0, 1}, {1, 1}, {10, 2}, {100, 3}}, 3},
      {"linear keeps all", false, false, {{1, 1}, {2, 0}, {3, -1}, {4, 5}, {5, 10}}, 5},
  };
  for (const LogCase& c : cases) {
    SCOPED_TRACE(c.what);
    Chart log_chart;
    log_chart.SetBounds(Rect{0, 0, 400, 300});
    log_chart.BottomAxis().SetMinMax(c.x_log ? 0.5 : 0, c.x_log ? 200 : 100);
    log_chart.LeftAxis().SetMinMax(c.y_log ? 0.5 : -10, 10);
    log_chart.BottomAxis().SetLogarithmic(c.x_log);
    log_chart.LeftAxis().SetLogarithmic(c.y_log);
    LineSeries& series = log_chart.AddSeries<LineSeries>();
    for (const auto& p : c.points)
      series.AddXY(p.first, p.second);
    RecordingCanvas recording(400, 300);
    log_chart.Paint(recording);
    auto lines = OpsOf(recording, Kind::kPolyline);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]->points.size(), c.drawn);
  }
}

TEST_F(PaintFixture, MarkersInsteadOfTheLine) {
  LineSeries& series = chart.AddSeries<LineSeries>();
  series.SetLineVisible(false);
  series.SetPointerVisible(true);
  series.SetPointerSize(2);
  series.AddXY(10, 0);
  series.AddXY(20, 5);
  chart.Paint(canvas);
  EXPECT_TRUE(OpsOf(canvas, Kind::kPolyline).empty());
  auto marks = OpsOf(canvas, Kind::kEllipse);
  ASSERT_EQ(marks.size(), 2u);
  const int x = chart.BottomAxis().ValueToPixelInt(10);
  const int y = chart.LeftAxis().ValueToPixelInt(0);
  EXPECT_EQ(marks[0]->rect, (Rect{x - 2, y - 2, x + 3, y + 3}));
  EXPECT_EQ(marks[0]->brush.color, kBlack);
}

TEST_F(PaintFixture, BarsStandOnZeroCentredOnTheirX) {
  chart.LeftAxis().SetMinMax(-10, 10);
  BarSeries& bars = chart.AddSeries<BarSeries>();
  bars.SetOutlineWidth(2);
  bars.AddXY(20, 5);
  bars.AddXY(50, -4);
  bars.AddXY(80, 0);
  chart.Paint(canvas);
  auto rects = OpsOf(canvas, Kind::kRectangle);
  std::vector<const CanvasOp*> bar_rects;
  for (const CanvasOp* r : rects) {
    if (r->clipped)
      bar_rects.push_back(r);
  }
  ASSERT_EQ(bar_rects.size(), 3u);
  const Axis& h = chart.BottomAxis();
  const Axis& v = chart.LeftAxis();
  const int width = static_cast<int>(chart.PlotRect().Width() / 3.0 * BarSeries::kBarWidthShare);
  const int zero = v.ValueToPixelInt(0);
  struct {
    double x, y;
  } expected[] = {{20, 5}, {50, -4}, {80, 0}};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const Rect& r = bar_rects[i]->rect;
    const int left = h.ValueToPixelInt(expected[i].x) - width / 2;
    const int value = v.ValueToPixelInt(expected[i].y);
    EXPECT_EQ(r, (Rect{left, std::min(zero, value), left + width, std::max(zero, value) + 1}));
    EXPECT_EQ(bar_rects[i]->pen, (Pen{kRed, 2, PenStyle::kSolid}));
    EXPECT_EQ(bar_rects[i]->brush.color, kRed);
  }
}

TEST_F(PaintFixture, BarsSharingAColumnBecomeOneSpanningTheirExtremes) {
  chart.LeftAxis().SetMinMax(0, 10);
  BarSeries& bars = chart.AddSeries<BarSeries>();
  for (int i = 0; i < 8192; ++i)
    bars.AddXY(i * 100.0 / 8192, i == 4000 ? 9 : 1);
  chart.Paint(canvas);
  int tallest = 1 << 30;
  size_t count = 0;
  for (const CanvasOp* r : OpsOf(canvas, Kind::kRectangle)) {
    if (!r->clipped)
      continue;
    ++count;
    tallest = std::min(tallest, r->rect.top);
  }
  EXPECT_LE(count, static_cast<size_t>(chart.PlotRect().Width() + 2));
  EXPECT_EQ(tallest, chart.LeftAxis().ValueToPixelInt(9));
}

TEST_F(PaintFixture, AfterDrawRunsOnlyForAnActiveSeriesWithAVisiblePoint) {
  LineSeries& series = chart.AddSeries<LineSeries>();
  int calls = 0;
  series.OnAfterDrawValues = [&](Series& sender) {
    ++calls;
    EXPECT_EQ(&sender, &series);
    // The cursor line: across the whole chart, not clipped.
    Canvas* c = chart.PaintCanvas();
    ASSERT_NE(c, nullptr);
    c->SetPen(Pen{kWhite, 2, PenStyle::kSolid});
    c->Line(Point{150, 0}, Point{150, chart.Height()});
  };
  struct {
    const char* what;
    double x;
    bool active;
    int calls;
  } cases[] = {{"visible point", 50, true, 1},
               {"inactive", 50, false, 0},
               {"all points right of the range", 150, true, 0},
               {"point on the range's end", 100, true, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    series.Clear();
    series.AddXY(c.x, 1);
    series.SetActive(c.active);
    calls = 0;
    canvas.Clear();
    chart.Paint(canvas);
    EXPECT_EQ(calls, c.calls);
    auto lines = OpsOf(canvas, Kind::kLine);
    bool cursor = !lines.empty() && lines.back()->pen.color == kWhite;
    EXPECT_EQ(cursor, c.calls == 1);
    if (cursor) {
      EXPECT_FALSE(lines.back()->clipped);
      EXPECT_EQ(lines.back()->points[1].y, 300);
    }
  }
  EXPECT_EQ(chart.PaintCanvas(), nullptr);
}

TEST_F(PaintFixture, NoPaintRequestsWhilePainting) {
  int invalidated = 0;
  int repainted = 0;
  chart.on_invalidate = [&] { ++invalidated; };
  chart.on_repaint = [&] { ++repainted; };
  LineSeries& series = chart.AddSeries<LineSeries>();
  series.AddXY(1, 1);
  chart.LeftAxis().SetAutomatic(true);  // the paint moves the axis
  series.OnAfterDrawValues = [&](Series&) { chart.Repaint(); };
  invalidated = 0;
  chart.Paint(canvas);
  EXPECT_EQ(invalidated, 0);
  EXPECT_EQ(repainted, 0);
  chart.Repaint();
  EXPECT_EQ(repainted, 1);
}

// The host sets the bounds before every paint; only a new size may ask for another paint, or the
// window would paint without end.
TEST_F(PaintFixture, UnchangedBoundsAskForNoPaint) {
  int invalidated = 0;
  chart.on_invalidate = [&] { ++invalidated; };
  Rect bounds = chart.Bounds();
  chart.SetBounds(bounds);
  EXPECT_EQ(invalidated, 0);
  bounds.right += 10;
  chart.SetBounds(bounds);
  EXPECT_EQ(invalidated, 1);
}

TEST_F(PaintFixture, DateTimeLabelsUseTheFormatterFromTheMinimum) {
  const double second = 1.0 / 86400.0;
  const double t = 45123.0 + (14 * 3600 + 5 * 60 + 20) * second;
  chart.BottomAxis().SetMinMax(t, t + 10 * second);
  chart.BottomAxis().SetIncrement(second);
  chart.BottomAxis().SetDateTime(true);
  chart.BottomAxis().SetDateTimeFormat("hh:nn:ss");
  std::vector<std::string> asked;
  LabelFormatter formatter;
  formatter.date_time = [&asked](double value, const std::string& format) {
    std::string text = DefaultDateTimeText(value, format);
    asked.push_back(text);
    return text;
  };
  chart.SetLabelFormatter(formatter);
  chart.SetBounds(Rect{0, 0, 800, 300});
  RecordingCanvas wide(800, 300);
  chart.Paint(wide);
  std::vector<std::string> shown;
  for (const CanvasOp* text : OpsOf(wide, Kind::kText)) {
    if (text->text.size() == 8 && text->text[2] == ':')
      shown.push_back(text->text);
  }
  ASSERT_EQ(shown.size(), 11u);
  EXPECT_EQ(shown.front(), "14:05:20");
  EXPECT_EQ(shown[5], "14:05:25");
  EXPECT_EQ(shown.back(), "14:05:30");
  // The left axis kept the default number texts.
  EXPECT_FALSE(OpsOf(wide, Kind::kText).empty());
}

TEST(ChartPaint, TinyOrEmptyChartsPaintWithoutDrawingSeries) {
  for (Rect bounds : {Rect{0, 0, 0, 0}, Rect{0, 0, 5, 5}, Rect{0, 0, 10, 400}}) {
    Chart chart;
    chart.SetBounds(bounds);
    LineSeries& series = chart.AddSeries<LineSeries>();
    series.AddXY(1, 1);
    RecordingCanvas canvas(bounds.Width(), bounds.Height());
    chart.Paint(canvas);
    EXPECT_TRUE(OpsOf(canvas, Kind::kPolyline).empty());
    EXPECT_FALSE(canvas.ops().empty());
  }
}

}  // namespace
}  // namespace chart

#include <windows.h>

#include <gtest/gtest.h>

#include "bar_series.h"
#include "chart.h"
#include "gdi_chart.h"
#include "line_series.h"

namespace chart {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

// A memory DC holding a colour bitmap, standing in for a window's paint DC.
class Target {
 public:
  Target() {
    dc_ = ::CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    original_ = ::SelectObject(dc_, bitmap_);
  }
  ~Target() {
    ::SelectObject(dc_, original_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  COLORREF Pixel(int x, int y) const { return ::GetPixel(dc_, x, y); }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ original_ = nullptr;
};

TEST(ChartGdi, PaintsAChartIntoAMemoryDc) {
  Chart chart;
  chart.SetBounds(Rect{0, 0, kWidth, kHeight});
  chart.BottomAxis().SetMinMax(0, 100);
  chart.BottomAxis().SetTitle("Частота, Гц");
  chart.LeftAxis().SetMinMax(-10, 10);
  chart.LeftAxis().SetTitle("Коэффициент гармоники, %");
  LineSeries& line = chart.AddSeries<LineSeries>();
  line.SetColor(kRed);
  line.SetLineWidth(2);
  line.AddXY(0, 5);
  line.AddXY(100, 5);
  BarSeries& bars = chart.AddSeries<BarSeries>();
  bars.SetColor(0x00FF00);
  bars.AddXY(50, -5);
  bool after_draw = false;
  line.OnAfterDrawValues = [&](Series&) {
    Canvas* canvas = chart.PaintCanvas();
    ASSERT_NE(canvas, nullptr);
    canvas->SetPen(Pen{kWhite, 2, PenStyle::kSolid});
    canvas->Line(Point{20, 0}, Point{20, chart.Height()});
    after_draw = true;
  };

  Target target;
  ASSERT_TRUE(DrawChart(chart, target.dc()));
  EXPECT_TRUE(after_draw);

  const Axis& h = chart.BottomAxis();
  const Axis& v = chart.LeftAxis();
  // The known line at 5 kV, across the plot.
  const int y = v.ValueToPixelInt(5);
  for (double x : {10.0, 30.0, 70.0, 90.0}) {
    EXPECT_EQ(target.Pixel(h.ValueToPixelInt(x), y), kRed) << x;
  }
  // The bar from 0 down to -5 at x 50.
  EXPECT_EQ(target.Pixel(h.ValueToPixelInt(50), v.ValueToPixelInt(-2.5)), 0x00FF00u);
  // The panel colour outside the plot, the cursor line over the margin.
  EXPECT_EQ(target.Pixel(kWidth - 1, 0), kChartBackground);
  EXPECT_EQ(target.Pixel(20, 1), kWhite);
  // Nothing of the line outside the plot: the clip held.
  EXPECT_NE(target.Pixel(chart.PlotRect().right + 3, y), kRed);
}

TEST(ChartGdi, RepeatedPaintsKeepTheGdiObjectCount) {
  Chart chart;
  chart.SetBounds(Rect{0, 0, kWidth, kHeight});
  chart.BottomAxis().SetAutomatic(true);
  chart.LeftAxis().SetAutomatic(true);
  LineSeries& line = chart.AddSeries<LineSeries>();
  for (int i = 0; i < 5000; ++i)
    line.AddXY(i, (i % 97) - 40);
  Target target;
  ASSERT_TRUE(DrawChart(chart, target.dc()));
  DWORD before = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  for (int i = 0; i < 50; ++i)
    ASSERT_TRUE(DrawChart(chart, target.dc()));
  EXPECT_EQ(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS), before);
}

TEST(ChartGdi, EmptyBoundsDrawNothingAndSucceed) {
  Chart chart;
  Target target;
  EXPECT_TRUE(DrawChart(chart, target.dc()));
}

}  // namespace
}  // namespace chart

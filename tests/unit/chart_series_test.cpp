#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "bar_series.h"
#include "chart.h"
#include "line_series.h"
#include "point_blocks.h"
#include "rationed_memory.h"

namespace chart {
namespace {

struct Insertion {
  const char* what;
  std::vector<double> xs;       // added in this order; y is the order of adding
  std::vector<double> order;    // y values after the adds, by index
  std::vector<size_t> indexes;  // index each add returned
};

TEST(ChartSeries, KeepsXAscendingByTheInsertionRule) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Insertion cases[] = {
      {"ascending appends", {1, 2, 3}, {0, 1, 2}, {0, 1, 2}},
      {"equal x appends after the last", {1, 2, 2}, {0, 1, 2}, {0, 1, 2}},
      {"earlier x goes after the last point not above it",
       {1, 3, 5, 2},
       {0, 3, 1, 2},
       {0, 1, 2, 1}},
      {"earlier x equal to an inner point goes after all its equals",
       {1, 3, 3, 5, 3},
       {0, 1, 2, 4, 3},
       {0, 1, 2, 3, 3}},
      {"below every point goes first", {4, 5, 1}, {2, 0, 1}, {0, 1, 0}},
      {"clock set back twice", {10, 11, 12, 5, 6}, {3, 4, 0, 1, 2}, {0, 1, 2, 0, 1}},
      {"NaN is not below the last x: appended", {1, nan, 2}, {0, 1, 2}, {0, 1, 2}},
  };
  for (const Insertion& c : cases) {
    SCOPED_TRACE(c.what);
    LineSeries series;
    std::vector<size_t> indexes;
    for (size_t i = 0; i < c.xs.size(); ++i)
      indexes.push_back(series.AddXY(c.xs[i], i));
    ASSERT_EQ(series.Count(), c.order.size());
    for (size_t i = 0; i < c.order.size(); ++i)
      EXPECT_EQ(series.YValue(i), c.order[i]) << i;
    EXPECT_EQ(indexes, c.indexes);
  }
}

TEST(ChartSeries, KeepsExtremesAsPointsArrive) {
  LineSeries series;
  // Empty: 0 for both, as the automatic log scale expects.
  EXPECT_EQ(series.MaxYValue(), 0);
  EXPECT_EQ(series.MinYValue(), 0);
  series.AddXY(10, 3.2);
  EXPECT_EQ(series.MinYValue(), 3.2);
  EXPECT_EQ(series.MaxYValue(), 3.2);
  series.AddXY(11, 4.9);
  series.AddXY(5, -7.5);  // inserted, not appended: still counts
  series.AddXY(12, std::nan(""));
  series.AddXY(13, std::numeric_limits<double>::infinity());
  EXPECT_EQ(series.MinYValue(), -7.5);
  EXPECT_EQ(series.MaxYValue(), 4.9);
  EXPECT_EQ(series.YExtremes().minimum_positive, 3.2);
  EXPECT_EQ(series.MinXValue(), 5);
  EXPECT_EQ(series.MaxXValue(), 13);
  series.Clear();
  EXPECT_EQ(series.Count(), 0u);
  EXPECT_EQ(series.MaxYValue(), 0);
  EXPECT_EQ(series.MinYValue(), 0);
  series.AddXY(1, -2);
  EXPECT_EQ(series.MaxYValue(), -2);  // from this reading alone
  EXPECT_EQ(series.YExtremes().minimum_positive, 0);
}

TEST(ChartSeries, IndexBeyondTheEndReadsZero) {
  LineSeries series;
  series.AddXY(1, 2);
  EXPECT_EQ(series.XValue(1), 0);
  EXPECT_EQ(series.YValue(99), 0);
}

TEST(ChartSeries, VisibleRangeIsFoundByBinarySearch) {
  LineSeries series;
  for (int i = 0; i < 10; ++i)
    series.AddXY(i, i);
  struct {
    double low, high;
    size_t first, last;
  } cases[] = {{2, 5, 2, 6}, {2.5, 5.5, 3, 6}, {-10, -1, 0, 0}, {20, 30, 10, 10}, {0, 9, 0, 10}};
  for (const auto& c : cases) {
    size_t first = 99;
    size_t last = 99;
    series.VisibleRange(c.low, c.high, &first, &last);
    EXPECT_EQ(first, c.first) << c.low;
    EXPECT_EQ(last, c.last) << c.low;
  }
}

constexpr double kBlock = PointBlocks::kBlockPoints;

struct BlockCase {
  const char* what;
  double ascending;             // points x = 0, 1, 2, … first, y = 2x
  std::vector<double> earlier;  // then these x, each below the last x; y = -1, -2, …
};

// The same points in a plain sorted list, by the insertion rule.
using Model = std::vector<std::pair<double, double>>;

TEST(ChartSeries, EarlierPointsGoInAcrossBlockBoundaries) {
  const BlockCase cases[] = {
      {"into the first of three blocks", 2 * kBlock + 5, {0.5}},
      {"at a block's first slot", 2 * kBlock + 5, {kBlock - 0.5}},
      {"at a block's last slot", 2 * kBlock + 5, {kBlock - 1.5}},
      {"equal to a block's last point: after it", 2 * kBlock + 5, {kBlock - 1}},
      {"into full blocks: the last point opens a block", 2 * kBlock, {10.5}},
      {"one short of full, twice", 2 * kBlock - 1, {kBlock + 0.5, 0.25}},
      {"below every point", kBlock + 1, {-1}},
      {"a clock set back: a run of earlier times",
       3 * kBlock,
       {kBlock - 3, kBlock - 2, kBlock - 1, kBlock - 1, kBlock, 2 * kBlock + 0.5}},
  };
  for (const BlockCase& c : cases) {
    SCOPED_TRACE(c.what);
    LineSeries series;
    Model model;
    for (double x = 0; x < c.ascending; ++x) {
      series.AddXY(x, 2 * x);
      model.emplace_back(x, 2 * x);
    }
    double y = -1;
    for (double x : c.earlier) {
      auto at = std::upper_bound(model.begin(), model.end(), x,
                                 [](double v, const auto& p) { return v < p.first; });
      EXPECT_EQ(series.AddXY(x, y), static_cast<size_t>(at - model.begin())) << x;
      model.insert(at, {x, y--});
    }
    ASSERT_EQ(series.Count(), model.size());
    size_t mismatches = 0;
    for (size_t i = 0; i < model.size(); ++i)
      mismatches += series.XValue(i) != model[i].first || series.YValue(i) != model[i].second;
    EXPECT_EQ(mismatches, 0u);
    EXPECT_EQ(series.MaxYValue(), 2 * (c.ascending - 1));
    EXPECT_EQ(series.MinYValue(), y + 1);
    EXPECT_EQ(series.MinXValue(), model.front().first);

    const std::pair<double, double> ranges[] = {
        {kBlock - 1, kBlock}, {kBlock - 0.5, 2 * kBlock + 0.5}, {-5, 0.5}, {2 * kBlock - 1, 1e9}};
    for (const auto& [low, high] : ranges) {
      size_t first = 0;
      size_t last = 0;
      series.VisibleRange(low, high, &first, &last);
      auto lower = std::lower_bound(model.begin(), model.end(), low,
                                    [](const auto& p, double v) { return p.first < v; });
      auto upper = std::upper_bound(model.begin(), model.end(), high,
                                    [](double v, const auto& p) { return v < p.first; });
      EXPECT_EQ(first, static_cast<size_t>(lower - model.begin())) << low;
      EXPECT_EQ(last, static_cast<size_t>(upper - model.begin())) << high;
    }
  }
}

TEST(ChartSeries, APointThatFindsNoMemoryIsLeftOutAndTheSeriesStaysWhole) {
  const struct {
    const char* what;
    int allowed;  // allocations before memory runs out
    double fits;  // points taken until then
  } cases[] = {
      {"no first block", 1, 0},
      {"no third block", 3, 2 * kBlock},
      // 16 blocks fill the first list of blocks; the 17th needs a longer list.
      {"no longer list of blocks", 17, 16 * kBlock},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RationedMemory memory(c.allowed);
    LineSeries series;
    for (double x = 0; x < c.fits; ++x)
      ASSERT_EQ(series.AddXY(x, x), x);
    EXPECT_FALSE(series.ReservePoint());
    EXPECT_EQ(series.AddXY(c.fits, -1), Series::kNotAdded);
    EXPECT_EQ(series.AddXY(-1, -1), Series::kNotAdded);
    ASSERT_EQ(series.Count(), c.fits);
    EXPECT_EQ(series.MaxXValue(), std::max(0.0, c.fits - 1));
    EXPECT_EQ(series.MinYValue(), 0);
    // Memory back: the series takes points again, earlier ones included.
    memory.Allow(2);
    EXPECT_TRUE(series.ReservePoint());
    EXPECT_EQ(series.AddXY(-1, -1), 0u);
    EXPECT_EQ(series.YValue(c.fits), c.fits - 1);
  }
}

TEST(ChartSeries, ChangesAskTheHostForAPaint) {
  Chart chart;
  int invalidated = 0;
  chart.on_invalidate = [&invalidated] { ++invalidated; };
  LineSeries& series = chart.AddSeries<LineSeries>();
  invalidated = 0;
  series.AddXY(1, 1);
  series.SetColor(kBlack);
  series.SetActive(false);
  chart.LeftAxis().SetMaximum(3);
  series.Clear();
  EXPECT_EQ(invalidated, 5);
}

struct AutoRange {
  const char* what;
  bool bars;
  bool logarithmic;
  std::vector<std::pair<double, double>> points;
  double x_min, x_max, y_min, y_max;
};

TEST(ChartAutoRange, FitsAutomaticAxesToActiveSeries) {
  const AutoRange cases[] = {
      {"line", false, false, {{0, 2}, {10, -3}, {20, 5}}, 0, 20, -3, 5},
      {"bars include their origin", true, false, {{0, 2}, {50, 8}, {100, 1}}, 0, 100, 0, 8},
      {"log skips non-positive values",
       true,
       true,
       {{0, 0}, {50, 0.01}, {100, 40}},
       50,
       100,
       0.01,
       40},
      {"one value gets a span", false, false, {{3, 7}}, 2, 4, 6, 8},
  };
  for (const AutoRange& c : cases) {
    SCOPED_TRACE(c.what);
    Chart chart;
    Series& series = c.bars ? static_cast<Series&>(chart.AddSeries<BarSeries>())
                            : static_cast<Series&>(chart.AddSeries<LineSeries>());
    for (Axis* axis : {&chart.LeftAxis(), &chart.BottomAxis()}) {
      axis->SetAutomatic(true);
      axis->SetLogarithmic(c.logarithmic);
    }
    for (const auto& p : c.points)
      series.AddXY(p.first, p.second);
    chart.AdjustAxes();
    EXPECT_EQ(chart.BottomAxis().Minimum(), c.x_min);
    EXPECT_EQ(chart.BottomAxis().Maximum(), c.x_max);
    EXPECT_EQ(chart.LeftAxis().Minimum(), c.y_min);
    EXPECT_EQ(chart.LeftAxis().Maximum(), c.y_max);
  }
}

TEST(ChartAutoRange, FixedAxesAndHiddenSeriesAreLeftAlone) {
  Chart chart;
  LineSeries& shown = chart.AddSeries<LineSeries>();
  LineSeries& hidden = chart.AddSeries<LineSeries>();
  shown.AddXY(0, 1);
  shown.AddXY(1, 2);
  hidden.AddXY(5, 100);
  hidden.SetActive(false);
  chart.BottomAxis().SetMinMax(-1, 10);
  chart.LeftAxis().SetAutomatic(true);
  chart.AdjustAxes();
  EXPECT_EQ(chart.BottomAxis().Minimum(), -1);
  EXPECT_EQ(chart.BottomAxis().Maximum(), 10);
  EXPECT_EQ(chart.LeftAxis().Maximum(), 2);

  // Only the maximum automatic: the minimum stays.
  chart.LeftAxis().SetAutomatic(false);
  chart.LeftAxis().SetMinMax(-4, 0);
  chart.LeftAxis().SetAutomaticMaximum(true);
  chart.AdjustAxes();
  EXPECT_EQ(chart.LeftAxis().Minimum(), -4);
  EXPECT_EQ(chart.LeftAxis().Maximum(), 2);

  // Empty series: the range stays as it was.
  shown.Clear();
  chart.AdjustAxes();
  EXPECT_EQ(chart.LeftAxis().Maximum(), 2);
}

}  // namespace
}  // namespace chart

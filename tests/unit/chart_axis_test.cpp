#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "axis.h"
#include "label_format.h"

namespace chart {
namespace {

constexpr double kSecond = 1.0 / 86400.0;
constexpr double kMinute = 60.0 * kSecond;

struct RangeStep {
  const char* what;
  bool set_minimum;  // else the maximum
  double value;
  AxisStatus status;
  double minimum;  // the range afterwards
  double maximum;
};

TEST(ChartAxis, RefusesAnEndBeyondTheOtherAndKeepsItsRange) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  // Each step runs on the axis as the steps before it left it, starting from -5 .. 5.
  const RangeStep steps[] = {
      {"minimum above the maximum", true, 6, AxisStatus::kMinimumAboveMaximum, -5, 5},
      {"maximum below the minimum", false, -6, AxisStatus::kMaximumBelowMinimum, -5, 5},
      {"minimum equal to the maximum", true, 5, AxisStatus::kOk, 5, 5},
      {"maximum equal to the minimum", false, 5, AxisStatus::kOk, 5, 5},
      {"minimum first, then maximum", true, 0, AxisStatus::kOk, 0, 5},
      {"maximum 10", false, 10, AxisStatus::kOk, 0, 10},
      {"NaN minimum", true, nan, AxisStatus::kNotFinite, 0, 10},
      {"infinite maximum", false, inf, AxisStatus::kNotFinite, 0, 10},
      {"clock set back: maximum below the minimum", false, -1, AxisStatus::kMaximumBelowMinimum, 0,
       10},
  };
  Axis axis(false);
  ASSERT_EQ(axis.SetMaximum(5), AxisStatus::kOk);
  ASSERT_EQ(axis.SetMinimum(-5), AxisStatus::kOk);
  for (const RangeStep& step : steps) {
    SCOPED_TRACE(step.what);
    AxisStatus status =
        step.set_minimum ? axis.SetMinimum(step.value) : axis.SetMaximum(step.value);
    EXPECT_EQ(status, step.status);
    EXPECT_EQ(axis.Minimum(), step.minimum);
    EXPECT_EQ(axis.Maximum(), step.maximum);
  }
  // Both ends at once reach a range wholly below the current one.
  EXPECT_EQ(axis.SetMinMax(-30, -20), AxisStatus::kOk);
  EXPECT_EQ(axis.Minimum(), -30);
  EXPECT_EQ(axis.SetMinMax(1, 0), AxisStatus::kMinimumAboveMaximum);
  EXPECT_EQ(axis.SetMinMax(nan, 0), AxisStatus::kNotFinite);
  EXPECT_EQ(axis.Maximum(), -20);
}

TEST(ChartAxis, ReportsChangesOnlyWhenSomethingChanged) {
  Axis axis(true);
  int changes = 0;
  axis.SetChangedHook([&changes] { ++changes; });
  axis.SetMaximum(1);
  axis.SetMaximum(1);
  axis.SetMinimum(5);  // refused
  axis.SetIncrement(0.2);
  axis.SetIncrement(0.2);
  EXPECT_EQ(changes, 2);
}

TEST(ChartAxis, NegativeOrNonFiniteIncrementLetsTheAxisChoose) {
  Axis axis(false);
  for (double increment : {-1.0, std::numeric_limits<double>::infinity(), std::nan("")}) {
    axis.SetIncrement(increment);
    EXPECT_EQ(axis.Increment(), 0.0);
  }
}

struct Conversion {
  const char* what;
  bool vertical;
  bool logarithmic;
  double minimum, maximum;
  int minimum_pixel, maximum_pixel;
  double value;
  double pixel;
};

TEST(ChartAxis, ConvertsValuesToPixelsAndBack) {
  const Conversion cases[] = {
      {"horizontal start", false, false, 0, 100, 10, 210, 0, 10},
      {"horizontal middle", false, false, 0, 100, 10, 210, 50, 110},
      {"horizontal end", false, false, 0, 100, 10, 210, 100, 210},
      {"left of the range extends linearly", false, false, 0, 100, 10, 210, -50, -90},
      {"right of the range extends linearly", false, false, 0, 100, 10, 210, 150, 310},
      {"vertical grows upwards", true, false, -5, 5, 300, 100, 0, 200},
      {"vertical top", true, false, -5, 5, 300, 100, 5, 100},
      {"vertical below the range", true, false, -5, 5, 300, 100, -10, 400},
      {"log first decade", false, true, 1, 1000, 0, 300, 1, 0},
      {"log second decade", false, true, 1, 1000, 0, 300, 10, 100},
      {"log between decades", false, true, 1, 1000, 0, 300, std::sqrt(10.0), 50},
      {"log beyond the end", false, true, 1, 1000, 0, 300, 10000, 400},
      {"log vertical", true, true, 0.01, 100, 400, 0, 1, 200},
      {"date-time minutes", false, false, 45000.5, 45000.5 + 10 * kMinute, 0, 1000,
       45000.5 + 3 * kMinute, 300},
  };
  for (const Conversion& c : cases) {
    SCOPED_TRACE(c.what);
    Axis axis(c.vertical);
    axis.SetLogarithmic(c.logarithmic);
    ASSERT_EQ(axis.SetMinMax(c.minimum, c.maximum), AxisStatus::kOk);
    axis.SetPixelSpan(c.minimum_pixel, c.maximum_pixel);
    EXPECT_NEAR(axis.ValueToPixel(c.value), c.pixel, 1e-6);
    EXPECT_EQ(axis.ValueToPixelInt(c.value), static_cast<int>(std::lround(c.pixel)));
    EXPECT_NEAR(axis.PixelToValue(c.pixel), c.value, 1e-9 * std::max(1.0, std::abs(c.value)));
  }
}

TEST(ChartAxis, DegenerateRangesAndFarValuesStayDrawable) {
  Axis flat(false);
  flat.SetMinMax(7, 7);
  flat.SetPixelSpan(10, 210);
  EXPECT_EQ(flat.ValueToPixel(123), 10);
  EXPECT_EQ(flat.PixelToValue(150), 7);

  Axis axis(false);
  axis.SetMinMax(0, 1);
  axis.SetPixelSpan(0, 100);
  EXPECT_EQ(axis.ValueToPixelInt(1e300), 10000000);
  EXPECT_EQ(axis.ValueToPixelInt(-1e300), -10000000);

  // No pixel span yet (never laid out): every value lands on the one pixel.
  Axis unlaid(true);
  unlaid.SetMinMax(0, 10);
  EXPECT_EQ(unlaid.PixelToValue(40), 0);
}

TEST(ChartAxis, LogarithmicAxisHasNoPixelForNonPositiveValues) {
  Axis axis(true);
  axis.SetLogarithmic(true);
  axis.SetMinMax(0.1, 100);
  axis.SetPixelSpan(300, 0);
  for (double value : {0.0, -1.0, -1e-300, std::nan("")}) {
    EXPECT_TRUE(std::isnan(axis.ValueToPixel(value))) << value;
  }
  // A range reaching zero or below still gets positive ends to draw with.
  axis.SetMinMax(0, 100);
  EXPECT_EQ(axis.ScaleMinimum(), 0.1);
  EXPECT_NEAR(axis.ValueToPixel(100), 0, 1e-9);
  axis.SetMinMax(-5, -1);
  EXPECT_EQ(axis.ScaleMinimum(), 1);
  EXPECT_EQ(axis.ScaleMaximum(), 10);
}

struct LabelCase {
  const char* what;
  bool date_time;
  bool logarithmic;
  double minimum, maximum, increment;
  int length;  // pixels
  double spacing;
  std::vector<double> values;
};

TEST(ChartAxis, PlacesLabels) {
  const double t0 = 45123.0 + (14 * 3600 + 5 * 60 + 20) * kSecond;   // 14:05:20
  const double m0 = 45123.0 + (13 * 3600 + 55 * 60 + 30) * kSecond;  // 13:55:30
  const LabelCase cases[] = {
      {"date-time: every second from the minimum, not from a whole second",
       true,
       false,
       t0 + 0.25 * kSecond,
       t0 + 10.25 * kSecond,
       kSecond,
       700,
       50,
       {t0 + 0.25 * kSecond, t0 + 1.25 * kSecond, t0 + 2.25 * kSecond, t0 + 3.25 * kSecond,
        t0 + 4.25 * kSecond, t0 + 5.25 * kSecond, t0 + 6.25 * kSecond, t0 + 7.25 * kSecond,
        t0 + 8.25 * kSecond, t0 + 9.25 * kSecond, t0 + 10.25 * kSecond}},
      {"date-time: every minute from 13:55:30",
       true,
       false,
       m0,
       m0 + 10 * kMinute,
       kMinute,
       700,
       50,
       {m0, m0 + kMinute, m0 + 2 * kMinute, m0 + 3 * kMinute, m0 + 4 * kMinute, m0 + 5 * kMinute,
        m0 + 6 * kMinute, m0 + 7 * kMinute, m0 + 8 * kMinute, m0 + 9 * kMinute, m0 + 10 * kMinute}},
      {"date-time: too narrow for every increment takes every second one",
       true,
       false,
       m0,
       m0 + 10 * kMinute,
       kMinute,
       300,
       50,
       {m0, m0 + 2 * kMinute, m0 + 4 * kMinute, m0 + 6 * kMinute, m0 + 8 * kMinute,
        m0 + 10 * kMinute}},
      {"linear: multiples of the increment",
       false,
       false,
       -5,
       5,
       1,
       400,
       15,
       {-5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5}},
      {"linear: first multiple inside the range",
       false,
       false,
       34,
       347,
       100,
       400,
       15,
       {100, 200, 300}},
      {"linear: no increment picks a step", false, false, 0, 10, 0, 100, 20, {0, 2, 4, 6, 8, 10}},
      {"logarithmic: the powers of ten", false, true, 0.5, 2000, 0, 400, 15, {1, 10, 100, 1000}},
      {"flat range: one label", false, false, 3, 3, 1, 400, 15, {3}},
      {"designed log axis: 25 days by the minute grows the step to fit",
       true,
       false,
       0,
       25,
       kMinute,
       500,
       50,
       {0, 5000 * kMinute, 10000 * kMinute, 15000 * kMinute, 20000 * kMinute, 25000 * kMinute,
        30000 * kMinute, 35000 * kMinute}},
  };
  for (const LabelCase& c : cases) {
    SCOPED_TRACE(c.what);
    Axis axis(false);
    axis.SetDateTime(c.date_time);
    axis.SetLogarithmic(c.logarithmic);
    axis.SetMinMax(c.minimum, c.maximum);
    axis.SetIncrement(c.increment);
    axis.SetPixelSpan(0, c.length);
    std::vector<double> values = axis.LabelValues(c.spacing);
    ASSERT_EQ(values.size(), c.values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
      EXPECT_NEAR(values[i], c.values[i], 1e-9 * std::max(1.0, std::abs(c.values[i]))) << i;
    }
  }
}

TEST(ChartAxis, LabelDecimalsFollowTheStep) {
  struct {
    double increment;
    int decimals;
  } cases[] = {{1, 0}, {0.1, 1}, {0.2, 1}, {0.25, 2}, {50, 0}};
  for (const auto& c : cases) {
    Axis axis(true);
    axis.SetMinMax(-5 * c.increment, 5 * c.increment);
    axis.SetIncrement(c.increment);
    axis.SetPixelSpan(400, 0);
    EXPECT_EQ(axis.LabelDecimals(15), c.decimals) << c.increment;
  }
}

TEST(ChartLabelFormat, DefaultTexts) {
  const double t = 45123.0 + (14 * 3600 + 5 * 60 + 30) * kSecond;
  EXPECT_EQ(DefaultDateTimeText(t, "hh:nn:ss"), "14:05:30");
  EXPECT_EQ(DefaultDateTimeText(t, "hh:nn"), "14:05");
  EXPECT_EQ(DefaultDateTimeText(t + 0.4999 / 86400000.0 * 1000, "hh:nn:ss"), "14:05:30");
  EXPECT_EQ(DefaultDateTimeText(45123.0 - 0.0004 / 86400, "hh:nn:ss"), "23:59:59");
  EXPECT_EQ(DefaultNumberText(-0.001, 2), "0.00");
  EXPECT_EQ(DefaultNumberText(-0.4, 1), "-0.4");
  EXPECT_EQ(DefaultNumberText(250, 0), "250");
}

}  // namespace
}  // namespace chart

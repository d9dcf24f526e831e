// One chart axis: its range (fixed or automatic), desired increment, linear or logarithmic scale,
// title and label format, and the conversion between axis values and pixels.
#pragma once

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace chart {

enum class AxisStatus {
  kOk,
  kMinimumAboveMaximum,  // the new minimum lies above the current maximum: nothing changed
  kMaximumBelowMinimum,  // the new maximum lies below the current minimum: nothing changed
  kNotFinite,            // not a number or infinite: nothing changed
};

// A pixel coordinate rounded to the nearest integer and held within a range that every drawing
// back end accepts; a line to a point that far outside keeps its slope to a fraction of a pixel.
int RoundPixel(double pixel);

// The value-to-pixel rule of an axis as it stands, cheap to apply to a million points.
struct PixelMap {
  bool logarithmic = false;
  double low = 0.0;     // the scale's start: the minimum, or its log10 on a logarithmic axis
  double origin = 0.0;  // the pixel of low
  double scale = 0.0;   // pixels per unit (per decade on a logarithmic axis)

  double operator()(double value) const {
    if (logarithmic) {
      if (!(value > 0.0))
        return std::numeric_limits<double>::quiet_NaN();
      value = std::log10(value);
    }
    return origin + (value - low) * scale;
  }
};

class Axis {
 public:
  // vertical: pixel values grow downwards while axis values grow upwards.
  explicit Axis(bool vertical) : vertical_(vertical) {}

  double Minimum() const { return minimum_; }
  double Maximum() const { return maximum_; }
  // A minimum above the current maximum, or a maximum below the current minimum, is refused;
  // the caller learns it from the status and the axis keeps its range.
  AxisStatus SetMinimum(double value);
  AxisStatus SetMaximum(double value);
  // Both ends at once, so that a range wholly beyond the current one can be set; refused only
  // when minimum > maximum.
  AxisStatus SetMinMax(double minimum, double maximum);

  // The step between labels and grid lines that the axis tries to keep; the labels take a whole
  // multiple of it where they would not fit. 0 lets the axis choose.
  double Increment() const { return increment_; }
  void SetIncrement(double increment);

  // With the automatic range the painter fits the axis to the active series before each drawing.
  bool Automatic() const { return automatic_; }
  bool AutomaticMinimum() const { return automatic_minimum_; }
  bool AutomaticMaximum() const { return automatic_maximum_; }
  void SetAutomatic(bool on);
  void SetAutomaticMinimum(bool on);
  void SetAutomaticMaximum(bool on);

  bool Logarithmic() const { return logarithmic_; }
  void SetLogarithmic(bool on);

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);

  // Date-time axes label their values with the date-time format, from the minimum on.
  bool DateTime() const { return date_time_; }
  void SetDateTime(bool on);
  const std::string& DateTimeFormat() const { return date_time_format_; }
  void SetDateTimeFormat(const std::string& format);

  bool Vertical() const { return vertical_; }

  // Pixels of the minimum and of the maximum, set by the chart's layout.
  void SetPixelSpan(int minimum_pixel, int maximum_pixel);
  int MinimumPixel() const { return minimum_pixel_; }
  int MaximumPixel() const { return maximum_pixel_; }

  // Value to pixel and back. Beyond the range the scale extends linearly (in log10 on a
  // logarithmic axis). On a logarithmic axis a non-positive value has no pixel: NaN.
  double ValueToPixel(double value) const { return Map()(value); }
  PixelMap Map() const;
  double PixelToValue(double pixel) const;
  // The pixel rounded and held within a range that every drawing back end accepts.
  int ValueToPixelInt(double value) const;

  // The ends the scale really uses: a logarithmic axis whose range is not all positive still
  // needs positive ends to be drawn.
  double ScaleMinimum() const;
  double ScaleMaximum() const;

  // Label and grid values for labels at least min_spacing pixels apart. Date-time axes start at
  // the minimum and step by the increment; linear axes use the multiples of the increment within
  // the range; logarithmic axes the powers of ten. Wherever labels would not fit, every k-th.
  std::vector<double> LabelValues(double min_spacing) const;
  // Decimals a linear label needs to show its step exactly (up to 10).
  int LabelDecimals(double min_spacing) const;

  // Called on every change that alters the picture.
  void SetChangedHook(std::function<void()> hook) { changed_ = std::move(hook); }

 private:
  double LabelStep(double min_spacing) const;
  void Changed() const;

  bool vertical_;
  double minimum_ = 0.0;
  double maximum_ = 0.0;
  double increment_ = 0.0;
  bool automatic_ = false;
  bool automatic_minimum_ = false;
  bool automatic_maximum_ = false;
  bool logarithmic_ = false;
  bool date_time_ = false;
  std::string title_;
  std::string date_time_format_ = "hh:nn:ss";
  int minimum_pixel_ = 0;
  int maximum_pixel_ = 0;
  std::function<void()> changed_;
};

}  // namespace chart

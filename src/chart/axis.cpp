#include "axis.h"

#include <algorithm>
#include <cmath>

namespace chart {

namespace {

// The multipliers tried, in turn, when labels at the increment would overlap.
constexpr double kStepFactors[] = {1.0, 2.0, 5.0};

}  // namespace

int RoundPixel(double pixel) {
  constexpr double kPixelLimit = 1.0e7;
  if (std::isnan(pixel))
    return 0;
  return static_cast<int>(std::lround(std::clamp(pixel, -kPixelLimit, kPixelLimit)));
}

AxisStatus Axis::SetMinimum(double value) {
  if (!std::isfinite(value))
    return AxisStatus::kNotFinite;
  if (value > maximum_)
    return AxisStatus::kMinimumAboveMaximum;
  if (value != minimum_) {
    minimum_ = value;
    Changed();
  }
  return AxisStatus::kOk;
}

AxisStatus Axis::SetMaximum(double value) {
  if (!std::isfinite(value))
    return AxisStatus::kNotFinite;
  if (value < minimum_)
    return AxisStatus::kMaximumBelowMinimum;
  if (value != maximum_) {
    maximum_ = value;
    Changed();
  }
  return AxisStatus::kOk;
}

AxisStatus Axis::SetMinMax(double minimum, double maximum) {
  if (!std::isfinite(minimum) || !std::isfinite(maximum))
    return AxisStatus::kNotFinite;
  if (minimum > maximum)
    return AxisStatus::kMinimumAboveMaximum;
  if (minimum != minimum_ || maximum != maximum_) {
    minimum_ = minimum;
    maximum_ = maximum;
    Changed();
  }
  return AxisStatus::kOk;
}

void Axis::SetIncrement(double increment) {
  // A negative or non-finite step would never reach the end of the axis: let the axis choose.
  if (!std::isfinite(increment) || increment < 0.0)
    increment = 0.0;
  if (increment != increment_) {
    increment_ = increment;
    Changed();
  }
}

void Axis::SetAutomatic(bool on) {
  automatic_ = on;
  Changed();
}

void Axis::SetAutomaticMinimum(bool on) {
  automatic_minimum_ = on;
  Changed();
}

void Axis::SetAutomaticMaximum(bool on) {
  automatic_maximum_ = on;
  Changed();
}

void Axis::SetLogarithmic(bool on) {
  if (on != logarithmic_) {
    logarithmic_ = on;
    Changed();
  }
}

void Axis::SetTitle(const std::string& title) {
  title_ = title;
  Changed();
}

void Axis::SetDateTime(bool on) {
  date_time_ = on;
  Changed();
}

void Axis::SetDateTimeFormat(const std::string& format) {
  if (format != date_time_format_) {
    date_time_format_ = format;
    Changed();
  }
}

void Axis::SetPixelSpan(int minimum_pixel, int maximum_pixel) {
  minimum_pixel_ = minimum_pixel;
  maximum_pixel_ = maximum_pixel;
}

void Axis::Changed() const {
  if (changed_)
    changed_();
}

double Axis::ScaleMinimum() const {
  if (!logarithmic_ || minimum_ > 0.0)
    return minimum_;
  // Three decades below a positive maximum; one decade from 1 when nothing is positive.
  return maximum_ > 0.0 ? maximum_ / 1000.0 : 1.0;
}

double Axis::ScaleMaximum() const {
  if (!logarithmic_ || maximum_ > 0.0)
    return maximum_;
  return 10.0;
}

PixelMap Axis::Map() const {
  PixelMap map;
  map.logarithmic = logarithmic_;
  double low = ScaleMinimum();
  double high = ScaleMaximum();
  if (logarithmic_) {
    low = std::log10(low);
    high = std::log10(high);
  }
  map.low = low;
  map.origin = minimum_pixel_;
  double span = high - low;
  // A flat range puts every value on the minimum's pixel.
  if (span > 0.0 && std::isfinite(span))
    map.scale = (maximum_pixel_ - minimum_pixel_) / span;
  return map;
}

double Axis::PixelToValue(double pixel) const {
  double low = ScaleMinimum();
  double high = ScaleMaximum();
  if (logarithmic_) {
    low = std::log10(low);
    high = std::log10(high);
  }
  double value = low;
  if (maximum_pixel_ != minimum_pixel_) {
    value = low + (pixel - minimum_pixel_) / (maximum_pixel_ - minimum_pixel_) * (high - low);
  }
  return logarithmic_ ? std::pow(10.0, value) : value;
}

int Axis::ValueToPixelInt(double value) const {
  double pixel = ValueToPixel(value);
  return std::isnan(pixel) ? minimum_pixel_ : RoundPixel(pixel);
}

double Axis::LabelStep(double min_spacing) const {
  double span = ScaleMaximum() - ScaleMinimum();
  double length = std::abs(maximum_pixel_ - minimum_pixel_);
  double most = std::max(1.0, std::floor(length / std::max(1.0, min_spacing)));
  double base = increment_;
  if (!(base > 0.0)) {
    // No increment: start from a power of ten near the span split into the room available.
    base = std::pow(10.0, std::floor(std::log10(span / most)));
    if (!(base > 0.0) || !std::isfinite(base))
      return 0.0;
  }
  for (double decade = 1.0; std::isfinite(base * decade); decade *= 10.0) {
    for (double factor : kStepFactors) {
      double step = base * decade * factor;
      if (span / step <= most)
        return step;
    }
  }
  return 0.0;
}

std::vector<double> Axis::LabelValues(double min_spacing) const {
  std::vector<double> values;
  double low = ScaleMinimum();
  double high = ScaleMaximum();
  if (!std::isfinite(high - low))
    return values;
  if (!(high > low)) {
    values.push_back(low);
    return values;
  }
  if (logarithmic_) {
    double first = std::ceil(std::log10(low) - 1e-9);
    double last = std::floor(std::log10(high) + 1e-9);
    if (first > last)
      return {low, high};
    double length = std::abs(maximum_pixel_ - minimum_pixel_);
    double most = std::max(1.0, std::floor(length / std::max(1.0, min_spacing)));
    double every = std::max(1.0, std::ceil((last - first) / most));
    for (double e = first; e <= last; e += every)
      values.push_back(std::pow(10.0, e));
    return values;
  }
  double step = LabelStep(min_spacing);
  if (!(step > 0.0))
    return values;
  // Tolerates the rounding of values that reach the end exactly on paper.
  double slack = step * 1e-9;
  if (date_time_) {
    // From the minimum itself, not moved to a multiple of the step.
    for (int i = 0;; ++i) {
      double value = low + i * step;
      if (value > high + slack)
        break;
      values.push_back(value);
    }
    return values;
  }
  double first = std::ceil(low / step - 1e-9);
  for (int i = 0;; ++i) {
    double value = (first + i) * step;
    if (value > high + slack)
      break;
    values.push_back(value == 0.0 ? 0.0 : value);
  }
  return values;
}

int Axis::LabelDecimals(double min_spacing) const {
  if (logarithmic_) {
    double low = ScaleMinimum();
    return std::clamp(static_cast<int>(-std::floor(std::log10(low) + 1e-9)), 0, 10);
  }
  double step = LabelStep(min_spacing);
  if (!(step > 0.0))
    return 0;
  for (int decimals = 0; decimals < 10; ++decimals) {
    double scaled = step * std::pow(10.0, decimals);
    if (std::abs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, scaled))
      return decimals;
  }
  return 10;
}

}  // namespace chart

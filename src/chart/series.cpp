#include "series.h"

#include <algorithm>
#include <cmath>

#include "axis.h"
#include "chart.h"
#include "column_reducer.h"

namespace chart {

void Extremes::Add(double value) {
  if (!std::isfinite(value))
    return;
  if (!any) {
    minimum = maximum = value;
    any = true;
  } else {
    minimum = std::min(minimum, value);
    maximum = std::max(maximum, value);
  }
  if (value > 0.0 && (minimum_positive == 0.0 || value < minimum_positive)) {
    minimum_positive = value;
  }
}

std::size_t Series::AddXY(double x, double y) {
  std::size_t index = x_.size();
  // The usual case, a later time or the next sample, appends; NaN is "not below" and appends too.
  if (!x_.empty() && x < x_.back()) {
    index = static_cast<std::size_t>(std::upper_bound(x_.begin(), x_.end(), x) - x_.begin());
    x_.insert(x_.begin() + static_cast<std::ptrdiff_t>(index), x);
    y_.insert(y_.begin() + static_cast<std::ptrdiff_t>(index), y);
  } else {
    x_.push_back(x);
    y_.push_back(y);
  }
  x_extremes_.Add(x);
  y_extremes_.Add(y);
  Changed();
  return index;
}

void Series::Clear() {
  x_.clear();
  y_.clear();
  x_extremes_ = Extremes{};
  y_extremes_ = Extremes{};
  Changed();
}

void Series::SetColor(Color color) {
  color_ = color;
  Changed();
}

void Series::SetActive(bool active) {
  active_ = active;
  Changed();
}

void Series::Changed() const {
  if (chart_ != nullptr)
    chart_->Invalidate();
}

double Series::XValueToPixel(double x) const {
  return chart_ != nullptr ? chart_->BottomAxis().ValueToPixel(x) : 0.0;
}

double Series::XPixelToValue(double pixel) const {
  return chart_ != nullptr ? chart_->BottomAxis().PixelToValue(pixel) : 0.0;
}

void Series::VisibleRange(double low, double high, std::size_t* first, std::size_t* last) const {
  *first = static_cast<std::size_t>(std::lower_bound(x_.begin(), x_.end(), low) - x_.begin());
  *last = static_cast<std::size_t>(std::upper_bound(x_.begin(), x_.end(), high) - x_.begin());
  if (*last < *first)
    *last = *first;
}

void Series::FeedPixels(const Axis& horizontal, const Axis& vertical, std::size_t first,
                        std::size_t last, ColumnReducer& reducer) const {
  const PixelMap to_x = horizontal.Map();
  const PixelMap to_y = vertical.Map();
  for (std::size_t i = first; i < last; ++i) {
    double px = to_x(x_[i]);
    double py = to_y(y_[i]);
    if (!std::isfinite(px) || !std::isfinite(py))
      continue;
    reducer.Add(RoundPixel(px), py);
  }
  reducer.Finish();
}

}  // namespace chart

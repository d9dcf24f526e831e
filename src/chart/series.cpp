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
  if (!points_.Reserve())
    return kNotAdded;
  std::size_t index = points_.Count();
  // The usual case, a later time or the next sample, appends; NaN is "not below" and appends too.
  if (index > 0 && x < points_.X(index - 1))
    index = points_.UpperBound(x);
  points_.Insert(index, x, y);
  x_extremes_.Add(x);
  y_extremes_.Add(y);
  Changed();
  return index;
}

void Series::Clear() {
  points_.Clear();
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
  *first = points_.LowerBound(low);
  *last = points_.UpperBound(high);
  if (*last < *first)
    *last = *first;
}

void Series::FeedPixels(const Axis& horizontal, const Axis& vertical, std::size_t first,
                        std::size_t last, ColumnReducer& reducer) const {
  const PixelMap to_x = horizontal.Map();
  const PixelMap to_y = vertical.Map();
  points_.ForEach(first, last, [&](double x, double y) {
    double px = to_x(x);
    double py = to_y(y);
    if (std::isfinite(px) && std::isfinite(py))
      reducer.Add(RoundPixel(px), py);
  });
  reducer.Finish();
}

}  // namespace chart

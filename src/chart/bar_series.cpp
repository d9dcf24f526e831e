#include "bar_series.h"

#include <algorithm>
#include <cmath>

#include "axis.h"
#include "column_reducer.h"

namespace chart {

void BarSeries::SetOutlineWidth(int width) {
  outline_width_ = std::max(1, width);
  Changed();
}

void BarSeries::Draw(Canvas& canvas, const Axis& horizontal, const Axis& vertical) const {
  std::size_t first = 0;
  std::size_t last = 0;
  VisibleRange(horizontal.ScaleMinimum(), horizontal.ScaleMaximum(), &first, &last);
  if (first >= last)
    return;

  double room = std::abs(horizontal.MaximumPixel() - horizontal.MinimumPixel()) /
                static_cast<double>(last - first);
  int width = std::max(1, static_cast<int>(room * kBarWidthShare));
  double origin = vertical.ValueToPixel(vertical.Logarithmic() ? vertical.ScaleMinimum() : 0.0);
  origin = RoundPixel(origin);

  canvas.SetPen(Pen{SeriesColor(), outline_width_, PenStyle::kSolid});
  canvas.SetBrush(Brush{SeriesColor(), false});
  // Bars that share a pixel column become one bar spanning their lowest and highest value.
  ColumnReducer reducer([&](const ColumnSpan& span) {
    double top = std::min({span.low, span.high, origin});
    double bottom = std::max({span.low, span.high, origin});
    int left = span.column - width / 2;
    canvas.Rectangle(Rect{left, RoundPixel(top), left + width, RoundPixel(bottom) + 1});
  });
  FeedPixels(horizontal, vertical, first, last, reducer);
}

}  // namespace chart

#include "line_series.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "axis.h"
#include "column_reducer.h"

namespace chart {

namespace {

void AppendPoint(std::vector<Point>& points, int x, double y) {
  Point point{x, RoundPixel(y)};
  if (points.empty() || points.back() != point)
    points.push_back(point);
}

}  // namespace

void LineSeries::SetLineWidth(int width) {
  line_width_ = std::max(1, width);
  Changed();
}

void LineSeries::SetLineVisible(bool visible) {
  line_visible_ = visible;
  Changed();
}

void LineSeries::SetPointerVisible(bool visible) {
  pointer_visible_ = visible;
  Changed();
}

void LineSeries::SetPointerSize(int size) {
  pointer_size_ = std::max(1, size);
  Changed();
}

void LineSeries::SetPointerColor(Color color) {
  pointer_color_ = color;
  Changed();
}

void LineSeries::Draw(Canvas& canvas, const Axis& horizontal, const Axis& vertical) const {
  if (!line_visible_ && !pointer_visible_)
    return;
  std::size_t first = 0;
  std::size_t last = 0;
  VisibleRange(horizontal.ScaleMinimum(), horizontal.ScaleMaximum(), &first, &last);
  // One point either side, so the line runs on to the plot's edges.
  if (first > 0)
    --first;
  if (last < Count())
    ++last;

  std::vector<Point> points;
  ColumnReducer reducer([&points](const ColumnSpan& span) {
    AppendPoint(points, span.column, span.first);
    AppendPoint(points, span.column, span.low_before_high ? span.low : span.high);
    AppendPoint(points, span.column, span.low_before_high ? span.high : span.low);
    AppendPoint(points, span.column, span.last);
  });
  FeedPixels(horizontal, vertical, first, last, reducer);
  if (points.empty())
    return;

  if (line_visible_) {
    canvas.SetPen(Pen{SeriesColor(), line_width_, PenStyle::kSolid});
    canvas.Polyline(points.data(), points.size());
  }
  if (pointer_visible_) {
    canvas.SetPen(Pen{pointer_color_, 1, PenStyle::kSolid});
    canvas.SetBrush(Brush{pointer_color_, false});
    for (const Point& p : points) {
      canvas.Ellipse(Rect{p.x - pointer_size_, p.y - pointer_size_, p.x + pointer_size_ + 1,
                          p.y + pointer_size_ + 1});
    }
  }
}

}  // namespace chart

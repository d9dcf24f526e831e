#include "chart.h"

#include <cmath>

#include "chart_painter.h"

namespace chart {

namespace {

// The data range of the active series along one axis; false when they hold no usable value.
bool DataRange(const Chart& chart, bool vertical, bool logarithmic, double* low, double* high) {
  bool found = false;
  for (std::size_t i = 0; i < chart.SeriesCount(); ++i) {
    const Series& series = chart.SeriesAt(i);
    if (!series.Active())
      continue;
    const Extremes& e = vertical ? series.YExtremes() : series.XExtremes();
    if (!e.any)
      continue;
    double lo = e.minimum;
    double hi = e.maximum;
    if (vertical && series.HasOrigin() && !logarithmic) {
      lo = std::fmin(lo, 0.0);
      hi = std::fmax(hi, 0.0);
    }
    if (logarithmic) {
      // Only positive values have a place on a logarithmic scale.
      if (!(hi > 0.0))
        continue;
      lo = e.minimum_positive;
    }
    *low = found ? std::fmin(*low, lo) : lo;
    *high = found ? std::fmax(*high, hi) : hi;
    found = true;
  }
  return found;
}

void FitAxis(const Chart& chart, Axis& axis) {
  bool whole = axis.Automatic();
  if (!whole && !axis.AutomaticMinimum() && !axis.AutomaticMaximum())
    return;
  double low = 0.0;
  double high = 0.0;
  if (!DataRange(chart, axis.Vertical(), axis.Logarithmic(), &low, &high))
    return;
  if (low == high) {
    // A single value still needs a span to be drawn across.
    if (axis.Logarithmic()) {
      low /= 10.0;
      high *= 10.0;
    } else {
      low -= 1.0;
      high += 1.0;
    }
  }
  double minimum = whole || axis.AutomaticMinimum() ? low : axis.Minimum();
  double maximum = whole || axis.AutomaticMaximum() ? high : axis.Maximum();
  // A fixed end beyond the data's other end leaves the axis as it is.
  axis.SetMinMax(minimum, maximum);
}

}  // namespace

Chart::Chart() {
  left_axis_.SetChangedHook([this] { Invalidate(); });
  bottom_axis_.SetChangedHook([this] { Invalidate(); });
  formatter_ = DefaultLabelFormatter();
}

void Chart::SetBounds(const Rect& bounds) {
  // The host sets the bounds on every paint: an unchanged size must not ask for another paint.
  if (bounds == bounds_)
    return;
  bounds_ = bounds;
  Invalidate();
}

void Chart::SetMargins(const Margins& margins) {
  margins_ = margins;
  Invalidate();
}

void Chart::SetLabelFormatter(const LabelFormatter& formatter) {
  LabelFormatter defaults = DefaultLabelFormatter();
  formatter_.number = formatter.number ? formatter.number : defaults.number;
  formatter_.date_time = formatter.date_time ? formatter.date_time : defaults.date_time;
  Invalidate();
}

void Chart::MouseMove(int x, int y) {
  if (OnMouseMove)
    OnMouseMove(x, y);
}

void Chart::FocusEnter() {
  focused_ = true;
  if (OnEnter)
    OnEnter();
}

void Chart::FocusExit() {
  focused_ = false;
  if (OnExit)
    OnExit();
}

void Chart::Invalidate() {
  if (!Painting() && on_invalidate)
    on_invalidate();
}

void Chart::Repaint() {
  if (!Painting() && on_repaint)
    on_repaint();
}

void Chart::AdjustAxes() {
  FitAxis(*this, bottom_axis_);
  FitAxis(*this, left_axis_);
}

void Chart::Paint(Canvas& canvas) {
  if (Painting())
    return;
  // The canvas is handed back however the painting ends.
  struct Release {
    Canvas*& canvas;
    ~Release() { canvas = nullptr; }
  } release{canvas_};
  canvas_ = &canvas;
  ChartPainter(*this, canvas).Paint();
}

}  // namespace chart

// What line and bar series share: points held in x order in fixed-size blocks (16 bytes a
// point), their extremes kept as points arrive, the colour, the active flag and the after-draw
// event.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "canvas.h"
#include "color.h"
#include "point_blocks.h"

namespace chart {

class Axis;
class Chart;
class ColumnReducer;

// Smallest, largest and smallest positive of the finite values added since the last reset.
struct Extremes {
  double minimum = 0.0;
  double maximum = 0.0;
  double minimum_positive = 0.0;  // 0 while no positive value arrived
  bool any = false;

  void Add(double value);
};

class Series {
 public:
  Series() = default;
  virtual ~Series() = default;
  Series(const Series&) = delete;
  Series& operator=(const Series&) = delete;

  // What AddXY returns when memory for the point could not be had.
  static constexpr std::size_t kNotAdded = static_cast<std::size_t>(-1);

  // Makes room for one more point; false when memory for it cannot be had. The next AddXY after
  // a true answer takes its point without allocating, so several series can take the points of
  // one reading together or not at all.
  bool ReservePoint() { return points_.Reserve(); }
  // Keeps x ascending: a point whose x is not below the last x is appended; an earlier one goes
  // directly after the last point whose x does not exceed it. Returns the point's index, or
  // kNotAdded when memory for it could not be had (the series is then unchanged).
  std::size_t AddXY(double x, double y);
  void Clear();
  std::size_t Count() const { return points_.Count(); }
  // A point's values, in constant time; an index that names no point reads 0.
  double XValue(std::size_t index) const { return index < Count() ? points_.X(index) : 0.0; }
  double YValue(std::size_t index) const { return index < Count() ? points_.Y(index) : 0.0; }

  // Over every point ever added since the last Clear, hidden ones too; non-finite values do not
  // count. An empty series reports 0.
  double MinXValue() const { return x_extremes_.minimum; }
  double MaxXValue() const { return x_extremes_.maximum; }
  double MinYValue() const { return y_extremes_.minimum; }
  double MaxYValue() const { return y_extremes_.maximum; }
  const Extremes& XExtremes() const { return x_extremes_; }
  const Extremes& YExtremes() const { return y_extremes_; }

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }
  Color SeriesColor() const { return color_; }
  void SetColor(Color color);
  // An inactive series keeps and receives its points but is not drawn.
  bool Active() const { return active_; }
  void SetActive(bool active);

  // Run after the series has drawn its points, when it is active and at least one point lies
  // within the horizontal range; the chart's canvas is then available for drawing.
  std::function<void(Series& sender)> OnAfterDrawValues;

  // The x conversions through the horizontal axis of the chart the series belongs to.
  double XValueToPixel(double x) const;
  double XPixelToValue(double pixel) const;

  // Index range [first, last) of the points whose x lies within [low, high].
  void VisibleRange(double low, double high, std::size_t* first, std::size_t* last) const;

  // Feeds the points [first, last) to `reducer` as pixels, column rounded, leaving out those with
  // no pixel: non-finite values, and non-positive ones on a logarithmic axis.
  void FeedPixels(const Axis& horizontal, const Axis& vertical, std::size_t first, std::size_t last,
                  ColumnReducer& reducer) const;

  // Draws the points within the axes' range, clipped by the caller to the plot.
  virtual void Draw(Canvas& canvas, const Axis& horizontal, const Axis& vertical) const = 0;
  // The value bars grow from, included in an automatic vertical range; none for lines.
  virtual bool HasOrigin() const { return false; }

  Chart* ParentChart() const { return chart_; }
  void SetParentChart(Chart* chart) { chart_ = chart; }

 protected:
  void Changed() const;

 private:
  PointBlocks points_;
  Extremes x_extremes_;
  Extremes y_extremes_;
  std::string title_;
  Color color_ = kRed;
  bool active_ = true;
  Chart* chart_ = nullptr;
};

}  // namespace chart

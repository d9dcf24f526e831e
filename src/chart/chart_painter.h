// Lays a chart out on a canvas and draws it: panel, grid, frame, axis labels and titles, then each
// active series clipped to the plot, followed by its after-draw event.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace chart {

class Axis;
class Chart;

class ChartPainter {
 public:
  // The font of axis labels and titles.
  static Font LabelFont();
  static constexpr int kTickLength = 3;
  static constexpr int kGap = 2;

  ChartPainter(Chart& chart, Canvas& canvas) : chart_(chart), canvas_(canvas) {}
  void Paint();

 private:
  struct Label {
    double value;
    std::string text;
  };

  std::string LabelText(const Axis& axis, double value, int decimals) const;
  std::vector<Label> Labels(const Axis& axis, double min_spacing) const;
  // The widest label an axis would show over its whole range.
  int WidestLabel(const Axis& axis, double min_spacing) const;
  void DrawLeftAxis(const std::vector<Label>& labels, const Rect& plot);
  void DrawBottomAxis(const std::vector<Label>& labels, const Rect& plot);
  void DrawSeries(const Rect& plot);

  Chart& chart_;
  Canvas& canvas_;
};

}  // namespace chart

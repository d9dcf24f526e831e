// A series drawn as a line through its points, or as point markers, or both.
#pragma once

#include "series.h"

namespace chart {

class LineSeries : public Series {
 public:
  int LineWidth() const { return line_width_; }
  void SetLineWidth(int width);
  bool LineVisible() const { return line_visible_; }
  void SetLineVisible(bool visible);

  // Markers are filled circles of the pointer colour, the size each side of the point.
  bool PointerVisible() const { return pointer_visible_; }
  void SetPointerVisible(bool visible);
  int PointerSize() const { return pointer_size_; }
  void SetPointerSize(int size);
  Color PointerColor() const { return pointer_color_; }
  void SetPointerColor(Color color);

  void Draw(Canvas& canvas, const Axis& horizontal, const Axis& vertical) const override;

 private:
  int line_width_ = 1;
  bool line_visible_ = true;
  bool pointer_visible_ = false;
  int pointer_size_ = 2;
  Color pointer_color_ = kBlack;
};

}  // namespace chart

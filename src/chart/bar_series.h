// A series drawn as bars from 0 (the axis minimum on a logarithmic axis) to each point's value.
#pragma once

#include "series.h"

namespace chart {

class BarSeries : public Series {
 public:
  // Bars take this share of the room each point has along the horizontal axis.
  static constexpr double kBarWidthShare = 0.7;

  int OutlineWidth() const { return outline_width_; }
  void SetOutlineWidth(int width);

  void Draw(Canvas& canvas, const Axis& horizontal, const Axis& vertical) const override;
  bool HasOrigin() const override { return true; }

 private:
  int outline_width_ = 1;
};

}  // namespace chart

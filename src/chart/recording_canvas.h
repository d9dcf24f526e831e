// A canvas that draws nothing and keeps a list of what was drawn, with the pen, brush, font and
// clip rectangle of each call, so that tests can see what the chart painted.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "canvas.h"

namespace chart {

struct CanvasOp {
  enum class Kind { kLine, kPolyline, kRectangle, kEllipse, kFill, kText };
  Kind kind = Kind::kLine;
  std::vector<Point> points;  // line ends or polyline vertices
  Rect rect;                  // rectangle, ellipse or fill
  std::string text;
  Pen pen;
  Brush brush;
  Font font;
  Color fill = kBlack;
  bool clipped = false;
  Rect clip;
};

class RecordingCanvas : public Canvas {
 public:
  RecordingCanvas(int width, int height) : width_(width), height_(height) {}

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void Line(Point from, Point to) override;
  void Polyline(const Point* points, std::size_t count) override;
  void Rectangle(const Rect& rect) override;
  void Ellipse(const Rect& rect) override;
  void FillRect(const Rect& rect, Color color) override;
  void Text(int x, int y, const std::string& text) override;
  // A fixed rule, so that layouts are the same on every machine: 6 pixels per character
  // (UTF-8 continuation bytes not counted), the font's height.
  Size TextExtent(const std::string& text) override;
  void SetClip(const Rect& rect) override;
  void ClearClip() override;

  const std::vector<CanvasOp>& ops() const { return ops_; }
  void Clear() { ops_.clear(); }

 private:
  CanvasOp& Record(CanvasOp::Kind kind);

  int width_;
  int height_;
  bool clipped_ = false;
  Rect clip_;
  std::vector<CanvasOp> ops_;
};

}  // namespace chart

#include "recording_canvas.h"

namespace chart {

CanvasOp& RecordingCanvas::Record(CanvasOp::Kind kind) {
  CanvasOp& op = ops_.emplace_back();
  op.kind = kind;
  op.pen = pen();
  op.brush = brush();
  op.font = font();
  op.clipped = clipped_;
  op.clip = clip_;
  return op;
}

void RecordingCanvas::Line(Point from, Point to) {
  Record(CanvasOp::Kind::kLine).points = {from, to};
}

void RecordingCanvas::Polyline(const Point* points, std::size_t count) {
  Record(CanvasOp::Kind::kPolyline).points.assign(points, points + count);
}

void RecordingCanvas::Rectangle(const Rect& rect) {
  Record(CanvasOp::Kind::kRectangle).rect = rect;
}

void RecordingCanvas::Ellipse(const Rect& rect) {
  Record(CanvasOp::Kind::kEllipse).rect = rect;
}

void RecordingCanvas::FillRect(const Rect& rect, Color color) {
  CanvasOp& op = Record(CanvasOp::Kind::kFill);
  op.rect = rect;
  op.fill = color;
}

void RecordingCanvas::Text(int x, int y, const std::string& text) {
  CanvasOp& op = Record(CanvasOp::Kind::kText);
  op.points = {Point{x, y}};
  op.text = text;
}

Size RecordingCanvas::TextExtent(const std::string& text) {
  int characters = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80)
      ++characters;
  }
  return Size{6 * characters, font().height};
}

void RecordingCanvas::SetClip(const Rect& rect) {
  clipped_ = true;
  clip_ = rect;
}

void RecordingCanvas::ClearClip() {
  clipped_ = false;
  clip_ = Rect{};
}

}  // namespace chart

// The drawing surface the chart paints on. The chart and the after-draw handlers of its series set
// the pen, brush and font, then draw; each back end turns the current state into its own objects.
#pragma once

#include <cstddef>
#include <string>

#include "color.h"
#include "geometry.h"

namespace chart {

enum class PenStyle { kSolid, kDash, kDot, kClear };

struct Pen {
  Color color = kBlack;
  int width = 1;
  PenStyle style = PenStyle::kSolid;
  bool operator==(const Pen& o) const {
    return color == o.color && width == o.width && style == o.style;
  }
};

struct Brush {
  Color color = kWhite;
  bool clear = false;  // shapes are outlined only
  bool operator==(const Brush& o) const { return color == o.color && clear == o.clear; }
};

struct Font {
  std::string name = "Arial";
  int height = 11;  // character height in pixels
  bool bold = false;
  Color color = kBlack;
  int angle = 0;  // tenths of a degree, counter-clockwise; 900 writes upwards
  bool operator==(const Font& o) const {
    return name == o.name && height == o.height && bold == o.bold && color == o.color &&
           angle == o.angle;
  }
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  const Pen& pen() const { return pen_; }
  const Brush& brush() const { return brush_; }
  const Font& font() const { return font_; }
  void SetPen(const Pen& pen) { pen_ = pen; }
  void SetBrush(const Brush& brush) { brush_ = brush; }
  void SetFont(const Font& font) { font_ = font; }

  virtual int Width() const = 0;
  virtual int Height() const = 0;

  // Lines and outlines take the pen, fills the brush, text the font.
  virtual void Line(Point from, Point to) = 0;
  virtual void Polyline(const Point* points, std::size_t count) = 0;
  virtual void Rectangle(const Rect& rect) = 0;
  virtual void Ellipse(const Rect& rect) = 0;
  // Fills with a colour and no outline, whatever the pen and brush.
  virtual void FillRect(const Rect& rect, Color color) = 0;
  // Top-left corner of the text (of the unrotated text box) at x, y. UTF-8.
  virtual void Text(int x, int y, const std::string& text) = 0;
  virtual Size TextExtent(const std::string& text) = 0;

  // Drawing outside the rectangle is dropped until ClearClip.
  virtual void SetClip(const Rect& rect) = 0;
  virtual void ClearClip() = 0;

 private:
  Pen pen_;
  Brush brush_;
  Font font_;
};

}  // namespace chart

// A canvas drawing into a back buffer (a 32-bit DIB in a memory DC) that is then copied to the
// window in one go, so the chart never flickers. Every pen, brush, font and region it creates is
// deleted by it, after being deselected.
#pragma once

#include <windows.h>

#include "canvas.h"

namespace chart {

class GdiCanvas : public Canvas {
 public:
  // A back buffer of the given size, compatible with reference (may be nullptr for the screen).
  GdiCanvas(HDC reference, int width, int height);
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  // False when Windows could not give the buffer; such a canvas draws nothing.
  bool Valid() const { return dc_ != nullptr; }
  // Copies the buffer to target with its top-left corner at x, y.
  bool CopyTo(HDC target, int x, int y) const;
  COLORREF Pixel(int x, int y) const;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void Line(Point from, Point to) override;
  void Polyline(const Point* points, std::size_t count) override;
  void Rectangle(const Rect& rect) override;
  void Ellipse(const Rect& rect) override;
  void FillRect(const Rect& rect, Color color) override;
  void Text(int x, int y, const std::string& text) override;
  Size TextExtent(const std::string& text) override;
  void SetClip(const Rect& rect) override;
  void ClearClip() override;

 private:
  // Brings the DC's pen, brush and font in line with the canvas state, replacing (and deleting)
  // the objects selected for an earlier state.
  void RealizePen();
  void RealizeBrush();
  void RealizeFont();
  void Replace(HGDIOBJ* owned, HGDIOBJ created);

  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ original_bitmap_ = nullptr;
  HGDIOBJ original_pen_ = nullptr;
  HGDIOBJ original_brush_ = nullptr;
  HGDIOBJ original_font_ = nullptr;
  HGDIOBJ pen_object_ = nullptr;  // nullptr while a stock object is selected
  HGDIOBJ brush_object_ = nullptr;
  HGDIOBJ font_object_ = nullptr;
  Pen selected_pen_;
  Brush selected_brush_;
  Font selected_font_;
  bool pen_selected_ = false;
  bool brush_selected_ = false;
  bool font_selected_ = false;
};

}  // namespace chart

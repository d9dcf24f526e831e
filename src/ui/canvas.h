// Drawing surface handed to custom-painted controls: the GDI canvas on Windows, a recording one
// in tests.
#pragma once

#include <string>

#include "types.h"

namespace ui {

enum class TPenStyle { psSolid, psDot };

class TCanvas {
 public:
  virtual ~TCanvas() = default;
  virtual TSize Size() const = 0;
  virtual void SetPen(TColor color, int width, TPenStyle style) = 0;
  virtual void SetBrush(TColor color) = 0;
  virtual void SetFont(const TFont& font) = 0;
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  // Fills with the brush, no outline.
  virtual void FillRect(const TRect& rect) = 0;
  // Text with its top-left corner at (x, y), transparent background.
  virtual void PutText(int x, int y, const std::string& text) = 0;
  virtual TSize TextExtent(const std::string& text) = 0;
  // The platform's drawing context behind the canvas (a device context on Windows), for content
  // drawn by another layer such as a chart; none on a canvas that only records.
  virtual void* NativeContext() { return nullptr; }
};

}  // namespace ui

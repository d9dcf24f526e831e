// A canvas over a GDI device context; pens, brushes and fonts are made and released in pairs.
#pragma once

#include <windows.h>

#include "canvas.h"

namespace ui::win32 {

HFONT MakeFont(const TFont& font);

class GdiCanvas : public TCanvas {
 public:
  GdiCanvas(HDC dc, TSize size);
  ~GdiCanvas() override;
  TSize Size() const override { return size_; }
  void SetPen(TColor color, int width, TPenStyle style) override;
  void SetBrush(TColor color) override;
  void SetFont(const TFont& font) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void FillRect(const TRect& rect) override;
  void PutText(int x, int y, const std::string& text) override;
  TSize TextExtent(const std::string& text) override;
  void* NativeContext() override { return dc_; }

 private:
  HDC dc_;
  TSize size_;
  HPEN pen_ = nullptr;
  HBRUSH brush_ = nullptr;
  HFONT font_ = nullptr;
  HGDIOBJ oldPen_;
  HGDIOBJ oldFont_;
};

}  // namespace ui::win32

#include "gdi_canvas.h"

#include "text.h"

namespace ui::win32 {

HFONT MakeFont(const TFont& font) {
  return ::CreateFontW(-font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       font.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH, os::Utf8ToWide(font.name).c_str());
}

GdiCanvas::GdiCanvas(HDC dc, TSize size)
    : dc_(dc),
      size_(size),
      oldPen_(::GetCurrentObject(dc, OBJ_PEN)),
      oldFont_(::GetCurrentObject(dc, OBJ_FONT)) {
  ::SetBkMode(dc_, TRANSPARENT);
}

GdiCanvas::~GdiCanvas() {
  ::SelectObject(dc_, oldPen_);
  ::SelectObject(dc_, oldFont_);
  if (pen_)
    ::DeleteObject(pen_);
  if (brush_)
    ::DeleteObject(brush_);
  if (font_)
    ::DeleteObject(font_);
}

void GdiCanvas::SetPen(TColor color, int width, TPenStyle style) {
  HPEN pen = ::CreatePen(style == TPenStyle::psDot ? PS_DOT : PS_SOLID, width, color);
  ::SelectObject(dc_, pen);
  if (pen_)
    ::DeleteObject(pen_);
  pen_ = pen;
}

void GdiCanvas::SetBrush(TColor color) {
  if (brush_)
    ::DeleteObject(brush_);
  brush_ = ::CreateSolidBrush(color == clDefault ? ::GetSysColor(COLOR_BTNFACE) : color);
}

void GdiCanvas::SetFont(const TFont& font) {
  HFONT made = MakeFont(font);
  ::SelectObject(dc_, made);
  if (font_)
    ::DeleteObject(font_);
  font_ = made;
  ::SetTextColor(dc_, font.color == clDefault ? ::GetSysColor(COLOR_WINDOWTEXT) : font.color);
}

void GdiCanvas::MoveTo(int x, int y) {
  ::MoveToEx(dc_, x, y, nullptr);
}

void GdiCanvas::LineTo(int x, int y) {
  ::LineTo(dc_, x, y);
}

void GdiCanvas::FillRect(const TRect& rect) {
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  ::FillRect(dc_, &r, brush_ ? brush_ : ::GetSysColorBrush(COLOR_BTNFACE));
}

void GdiCanvas::PutText(int x, int y, const std::string& text) {
  std::wstring wide = os::Utf8ToWide(text);
  ::TextOutW(dc_, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

TSize GdiCanvas::TextExtent(const std::string& text) {
  std::wstring wide = os::Utf8ToWide(text);
  SIZE size{};
  ::GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
  return {size.cx, size.cy};
}

}  // namespace ui::win32

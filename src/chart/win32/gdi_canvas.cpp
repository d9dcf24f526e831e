#include "gdi_canvas.h"

#include <vector>

#include "text.h"

namespace chart {

GdiCanvas::GdiCanvas(HDC reference, int width, int height)
    : width_(width > 0 ? width : 0), height_(height > 0 ? height : 0) {
  if (width_ == 0 || height_ == 0)
    return;
  // A DIB rather than a compatible bitmap: a memory DC as reference would give one bit a pixel.
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = ::CreateCompatibleDC(reference);
  if (dc == nullptr)
    return;
  bitmap_ = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap_ == nullptr) {
    ::DeleteDC(dc);
    return;
  }
  dc_ = dc;
  original_bitmap_ = ::SelectObject(dc_, bitmap_);
  original_pen_ = ::GetCurrentObject(dc_, OBJ_PEN);
  original_brush_ = ::GetCurrentObject(dc_, OBJ_BRUSH);
  original_font_ = ::GetCurrentObject(dc_, OBJ_FONT);
  ::SetBkMode(dc_, TRANSPARENT);
}

GdiCanvas::~GdiCanvas() {
  if (dc_ == nullptr)
    return;
  ::SelectClipRgn(dc_, nullptr);
  ::SelectObject(dc_, original_pen_);
  ::SelectObject(dc_, original_brush_);
  ::SelectObject(dc_, original_font_);
  ::SelectObject(dc_, original_bitmap_);
  if (pen_object_ != nullptr)
    ::DeleteObject(pen_object_);
  if (brush_object_ != nullptr)
    ::DeleteObject(brush_object_);
  if (font_object_ != nullptr)
    ::DeleteObject(font_object_);
  ::DeleteObject(bitmap_);
  ::DeleteDC(dc_);
}

bool GdiCanvas::CopyTo(HDC target, int x, int y) const {
  if (dc_ == nullptr)
    return false;
  return ::BitBlt(target, x, y, width_, height_, dc_, 0, 0, SRCCOPY) != FALSE;
}

COLORREF GdiCanvas::Pixel(int x, int y) const {
  return dc_ != nullptr ? ::GetPixel(dc_, x, y) : CLR_INVALID;
}

void GdiCanvas::Replace(HGDIOBJ* owned, HGDIOBJ created) {
  // Select first, so the old object is no longer in the DC when it is deleted.
  ::SelectObject(dc_, created);
  if (*owned != nullptr)
    ::DeleteObject(*owned);
  *owned = created;
}

void GdiCanvas::RealizePen() {
  if (pen_selected_ && selected_pen_ == pen())
    return;
  const Pen& p = pen();
  int style = PS_SOLID;
  if (p.style == PenStyle::kDash)
    style = PS_DASH;
  if (p.style == PenStyle::kDot)
    style = PS_DOT;
  if (p.style == PenStyle::kClear)
    style = PS_NULL;
  HPEN created = ::CreatePen(style, p.width, p.color);
  if (created == nullptr)
    return;
  Replace(&pen_object_, created);
  selected_pen_ = p;
  pen_selected_ = true;
}

void GdiCanvas::RealizeBrush() {
  if (brush_selected_ && selected_brush_ == brush())
    return;
  const Brush& b = brush();
  if (b.clear) {
    // The stock hollow brush is never deleted; only our own goes.
    ::SelectObject(dc_, ::GetStockObject(NULL_BRUSH));
    if (brush_object_ != nullptr)
      ::DeleteObject(brush_object_);
    brush_object_ = nullptr;
  } else {
    HBRUSH created = ::CreateSolidBrush(b.color);
    if (created == nullptr)
      return;
    Replace(&brush_object_, created);
  }
  selected_brush_ = b;
  brush_selected_ = true;
}

void GdiCanvas::RealizeFont() {
  if (font_selected_ && selected_font_ == font())
    return;
  const Font& f = font();
  // A negative height asks for the character height rather than the cell height.
  HFONT created =
      ::CreateFontW(-f.height, 0, f.angle, f.angle, f.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                    FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, os::Utf8ToWide(f.name).c_str());
  if (created == nullptr)
    return;
  Replace(&font_object_, created);
  ::SetTextColor(dc_, f.color);
  selected_font_ = f;
  font_selected_ = true;
}

void GdiCanvas::Line(Point from, Point to) {
  if (dc_ == nullptr)
    return;
  RealizePen();
  ::MoveToEx(dc_, from.x, from.y, nullptr);
  ::LineTo(dc_, to.x, to.y);
}

void GdiCanvas::Polyline(const Point* points, std::size_t count) {
  if (dc_ == nullptr || count < 2)
    return;
  RealizePen();
  std::vector<POINT> gdi(count);
  for (std::size_t i = 0; i < count; ++i)
    gdi[i] = POINT{points[i].x, points[i].y};
  ::Polyline(dc_, gdi.data(), static_cast<int>(count));
}

void GdiCanvas::Rectangle(const Rect& rect) {
  if (dc_ == nullptr)
    return;
  RealizePen();
  RealizeBrush();
  ::Rectangle(dc_, rect.left, rect.top, rect.right, rect.bottom);
}

void GdiCanvas::Ellipse(const Rect& rect) {
  if (dc_ == nullptr)
    return;
  RealizePen();
  RealizeBrush();
  ::Ellipse(dc_, rect.left, rect.top, rect.right, rect.bottom);
}

void GdiCanvas::FillRect(const Rect& rect, Color color) {
  if (dc_ == nullptr)
    return;
  HBRUSH fill = ::CreateSolidBrush(color);
  if (fill == nullptr)
    return;
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  ::FillRect(dc_, &r, fill);
  ::DeleteObject(fill);
}

void GdiCanvas::Text(int x, int y, const std::string& text) {
  if (dc_ == nullptr || text.empty())
    return;
  RealizeFont();
  std::wstring wide = os::Utf8ToWide(text);
  ::TextOutW(dc_, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

Size GdiCanvas::TextExtent(const std::string& text) {
  if (dc_ == nullptr)
    return Size{0, font().height};
  RealizeFont();
  std::wstring wide = os::Utf8ToWide(text.empty() ? std::string(" ") : text);
  SIZE size{0, 0};
  if (!::GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size)) {
    return Size{0, font().height};
  }
  return Size{text.empty() ? 0 : static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

void GdiCanvas::SetClip(const Rect& rect) {
  if (dc_ == nullptr)
    return;
  HRGN region = ::CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
  if (region == nullptr)
    return;
  // The DC keeps a copy of the region.
  ::SelectClipRgn(dc_, region);
  ::DeleteObject(region);
}

void GdiCanvas::ClearClip() {
  if (dc_ != nullptr)
    ::SelectClipRgn(dc_, nullptr);
}

}  // namespace chart

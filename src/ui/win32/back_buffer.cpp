#include "back_buffer.h"

#include <algorithm>

namespace ui::win32 {
namespace {

HBITMAP MakeBitmap(HDC dc, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  return ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

// The main thread's buffer, never freed: it lives as long as the windows it serves.
struct Kept {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  int width = 0;
  int height = 0;
  bool inUse = false;
} kept;

}  // namespace

BackBuffer::BackBuffer(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (!kept.inUse) {
    if (!kept.dc)
      kept.dc = ::CreateCompatibleDC(nullptr);
    if (width > kept.width || height > kept.height) {
      kept.width = std::max(width, kept.width);
      kept.height = std::max(height, kept.height);
      HBITMAP bigger = MakeBitmap(kept.dc, kept.width, kept.height);
      ::SelectObject(kept.dc, bigger);
      if (kept.bitmap)
        ::DeleteObject(kept.bitmap);
      kept.bitmap = bigger;
    }
    kept.inUse = true;
    kept_ = true;
    dc_ = kept.dc;
    // Whatever the last paint left selected or set is undone when this one ends.
    saved_ = ::SaveDC(dc_);
    return;
  }
  dc_ = ::CreateCompatibleDC(nullptr);
  bitmap_ = MakeBitmap(dc_, width, height);
  oldBitmap_ = ::SelectObject(dc_, bitmap_);
}

BackBuffer::~BackBuffer() {
  if (kept_) {
    ::RestoreDC(dc_, saved_);
    kept.inUse = false;
    return;
  }
  ::SelectObject(dc_, oldBitmap_);
  ::DeleteObject(bitmap_);
  ::DeleteDC(dc_);
}

}  // namespace ui::win32

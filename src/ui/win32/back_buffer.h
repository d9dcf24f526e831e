// A back buffer to draw a window in before one copy puts it on the screen. Making one for every
// paint costs more than drawing a label, so the main thread keeps one and reuses it, growing it
// as windows need; a paint inside another paint gets one of its own.
#pragma once

#include <windows.h>

namespace ui::win32 {

class BackBuffer {
 public:
  BackBuffer(int width, int height);
  ~BackBuffer();
  BackBuffer(const BackBuffer&) = delete;
  BackBuffer& operator=(const BackBuffer&) = delete;

  // A memory device context holding a bitmap of at least the size asked for, in the state a new
  // one has.
  HDC Dc() const { return dc_; }

 private:
  bool kept_ = false;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  int saved_ = 0;
};

}  // namespace ui::win32

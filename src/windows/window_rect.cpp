#include "window_rect.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

// One axis of a window: where the reduction put its two edges.
struct Span {
  int64_t start, end;
};

// The remainder of a division truncated toward zero; a screen that reports no size leaves the
// value as it is.
int64_t ScreenRem(int64_t value, int size) {
  return size > 0 ? value % size : value;
}

// The span as the reduction gave it when it has the saved length and the window, grown to its
// minimum as the windowing system grows it, ends within the screen. Otherwise the saved length,
// at least the minimum and at most the screen's, from the reduced start moved just enough to lie
// on the screen. Nothing can be fitted to a screen that reports no size.
Span FitOnScreen(Span reduced, int64_t saved, int screen, int minimum) {
  const int64_t shown = std::max<int64_t>(saved, minimum);
  if (screen <= 0 || (reduced.end - reduced.start == saved && reduced.start + shown <= screen))
    return reduced;
  const int64_t length = std::min<int64_t>(shown, screen);
  const int64_t start = std::clamp<int64_t>(reduced.start, 0, screen - length);
  return {start, start + length};
}

int ClampToInt(int64_t value) {
  return static_cast<int>(
      std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

ui::TRect ToRect(Span horizontal, Span vertical) {
  return {ClampToInt(horizontal.start), ClampToInt(vertical.start), ClampToInt(horizontal.end),
          ClampToInt(vertical.end)};
}

}  // namespace

ui::TRect MainWindowRect(int32_t x, int32_t y, int32_t w, int32_t h, ui::TSize screen,
                         ui::TSize minimum) {
  const int64_t width = std::llabs(static_cast<int64_t>(w));
  const int64_t height = std::llabs(static_cast<int64_t>(h));
  const int64_t left = ScreenRem(x, screen.cx);
  const int64_t top = ScreenRem(y, screen.cy);
  const Span horizontal{left, ScreenRem(width + left, screen.cx)};
  const Span vertical{top, ScreenRem(height, screen.cy) + top};
  return ToRect(FitOnScreen(horizontal, width, screen.cx, minimum.cx),
                FitOnScreen(vertical, height, screen.cy, minimum.cy));
}

ui::TRect ResidentWindowRect(int32_t x, int32_t y, int32_t w, int32_t h, ui::TSize screen,
                             ui::TSize minimum) {
  const int64_t width = std::llabs(static_cast<int64_t>(w));
  const int64_t height = std::llabs(static_cast<int64_t>(h));
  const int64_t left = ScreenRem(std::llabs(static_cast<int64_t>(x)), screen.cx);
  const int64_t top = ScreenRem(std::llabs(static_cast<int64_t>(y)), screen.cy);
  const Span horizontal{left, ScreenRem(width + left, screen.cx)};
  const Span vertical{top, ScreenRem(height + top, screen.cy)};
  return ToRect(FitOnScreen(horizontal, width, screen.cx, minimum.cx),
                FitOnScreen(vertical, height, screen.cy, minimum.cy));
}

// The normal rectangles the three resident windows come back at from their saved X, Y, W and H.
// Each edge is first reduced by the primary screen's size, so that a window saved on a larger
// screen starts on this one. Where that reduction would fold a window (its right or bottom edge
// wrapped round past the screen's) or leave it beyond the screen's right or bottom edge, the
// window keeps its saved size, at least its minimum and at most the screen's, and is moved just
// enough to lie on the screen. A rectangle the reduction leaves whole and within those edges is
// kept as it is. All of it is worked in 64 bits, so the most negative value is safe too.
#pragma once

#include <cstdint>

#include "types.h"

// The main window: left and top keep their sign (remainder toward zero), right = (|W| + left)
// rem width, bottom = (|H| rem height) + top.
ui::TRect MainWindowRect(int32_t x, int32_t y, int32_t w, int32_t h, ui::TSize screen,
                         ui::TSize minimum);

// The spectrum and log windows: left = |X| mod width, top = |Y| mod height, right = (|W| + left)
// mod width, bottom = (|H| + top) mod height.
ui::TRect ResidentWindowRect(int32_t x, int32_t y, int32_t w, int32_t h, ui::TSize screen,
                             ui::TSize minimum);

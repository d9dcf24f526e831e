// Paints a chart onto a window's DC through a back buffer: the one drawing routine that the
// hosting control's WM_PAINT and the tests share.
#pragma once

#include <windows.h>

#include "chart.h"

namespace chart {

// Draws the chart into a back buffer of its size and copies it to target with its top-left
// corner at x, y. False when Windows could not provide the buffer or the copy failed.
bool DrawChart(Chart& chart, HDC target, int x = 0, int y = 0);

}  // namespace chart

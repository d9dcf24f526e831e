// Colours as the windows keep them: red in the lowest byte, then green, then blue (a COLORREF).
#pragma once

#include <cstdint>

namespace chart {

using Color = uint32_t;

constexpr Color kBlack = 0x000000;
constexpr Color kWhite = 0xFFFFFF;
constexpr Color kRed = 0x0000FF;
constexpr Color kGray = 0x808080;
// The face colour of dialog windows; the chart's panel shows it, the back wall is not filled.
constexpr Color kChartBackground = 0xF0F0F0;

}  // namespace chart

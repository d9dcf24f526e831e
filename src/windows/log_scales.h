// The scales the log window offers: kilovolts per division of the vertical scale box, days per
// division of the time scale box, and the label format a time span needs.
#pragma once

#include <cstddef>

// Items of the vertical scale box; item 0 is the automatic scale.
constexpr std::size_t kLogVoltScaleCount = 10;
// Kilovolts per division of each item; 0 for the automatic scale.
extern const double kLogVoltsPerDivision[kLogVoltScaleCount];

// Items of the time scale box and the time per division of each, in days.
constexpr std::size_t kLogTimeScaleCount = 6;
extern const double kLogDaysPerDivision[kLogTimeScaleCount];

// Both scales show ten divisions.
constexpr int kLogDivisions = 10;

// Spans longer than this many days are labelled with hours and minutes, shorter ones with
// seconds as well.
constexpr double kLogSecondsLabelSpan = 0.0013;

// The date-time format of the time axis labels for a shown span in days.
const char* LogTimeFormat(double span);

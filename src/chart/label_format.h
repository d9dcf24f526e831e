// How the chart turns axis values into label texts. The windows install the user's locale rules;
// the defaults use a point as the decimal separator and a colon as the time separator.
#pragma once

#include <functional>
#include <string>

namespace chart {

struct LabelFormatter {
  // A plain number with the given count of decimals.
  std::function<std::string(double value, int decimals)> number;
  // A date-time value (days since 30 December 1899) in a format such as "hh:nn:ss".
  std::function<std::string(double date_time, const std::string& format)> date_time;
};

LabelFormatter DefaultLabelFormatter();

// Fixed notation, halves away from zero, no minus sign on a value that shows as zero.
std::string DefaultNumberText(double value, int decimals);

// Understands hh (hour 00-23), nn (minute) and ss (second); every other character is copied.
std::string DefaultDateTimeText(double date_time, const std::string& format);

}  // namespace chart

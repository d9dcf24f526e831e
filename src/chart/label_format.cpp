#include "label_format.h"

#include <cmath>
#include <cstdio>

namespace chart {

std::string DefaultNumberText(double value, int decimals) {
  if (!std::isfinite(value))
    return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
  if (decimals < 0)
    decimals = 0;
  if (decimals > 15)
    decimals = 15;
  double scale = std::pow(10.0, decimals);
  double rounded = std::round(value * scale) / scale;
  if (rounded == 0.0)
    rounded = 0.0;  // drops the sign of -0
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, rounded);
  return text;
}

std::string DefaultDateTimeText(double date_time, const std::string& format) {
  if (!std::isfinite(date_time))
    return {};
  // Time of day to the millisecond; dates before 1899 still count their fraction forwards.
  double fraction = std::fabs(date_time - std::trunc(date_time));
  long long ms = std::llround(fraction * 86400000.0);
  if (ms >= 86400000LL)
    ms = 86400000LL - 1;
  int seconds = static_cast<int>(ms / 1000);
  int fields[3] = {seconds / 3600, seconds / 60 % 60, seconds % 60};
  std::string text;
  for (std::size_t i = 0; i < format.size(); ++i) {
    char c = static_cast<char>(format[i] | 0x20);
    int field = c == 'h' ? 0 : c == 'n' ? 1 : c == 's' ? 2 : -1;
    if (field >= 0 && i + 1 < format.size() && (format[i + 1] | 0x20) == c) {
      char two[3] = {static_cast<char>('0' + fields[field] / 10),
                     static_cast<char>('0' + fields[field] % 10), '\0'};
      text += two;
      ++i;
    } else {
      text += format[i];
    }
  }
  return text;
}

LabelFormatter DefaultLabelFormatter() {
  return LabelFormatter{DefaultNumberText, DefaultDateTimeText};
}

}  // namespace chart

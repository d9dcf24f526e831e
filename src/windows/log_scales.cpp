#include "log_scales.h"

const double kLogVoltsPerDivision[kLogVoltScaleCount] = {0.0, 0.1, 0.2,  0.5,  1.0,
                                                         2.0, 5.0, 10.0, 20.0, 50.0};

// "10 сек/дел" steps by one second: ten of them make the ten seconds the item names.
const double kLogDaysPerDivision[kLogTimeScaleCount] = {
    1.0 / 86400.0, 1.0 / 1440.0, 2.0 / 1440.0, 5.0 / 1440.0, 10.0 / 1440.0, 20.0 / 1440.0};

const char* LogTimeFormat(double span) {
  return span > kLogSecondsLabelSpan ? "hh:nn" : "hh:nn:ss";
}

#include <sys/time.h>
#include <time.h>

#include "format.h"

namespace ui::platform {

Locale ReadUserLocale() {
  return Locale{};
}

DateTimeParts LocalTimeNow() {
  timeval now{};
  gettimeofday(&now, nullptr);
  tm local{};
  time_t seconds = now.tv_sec;
  localtime_r(&seconds, &local);
  DateTimeParts parts;
  parts.year = local.tm_year + 1900;
  parts.month = local.tm_mon + 1;
  parts.day = local.tm_mday;
  parts.hour = local.tm_hour;
  parts.minute = local.tm_min;
  parts.second = local.tm_sec;
  parts.millisecond = static_cast<int>(now.tv_usec / 1000);
  return parts;
}

// The pictures are ours to format here.
bool FormatUserPicture(PictureKind, const std::string&, const DateTimeParts&, std::string*) {
  return false;
}

}  // namespace ui::platform

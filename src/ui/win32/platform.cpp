#include <windows.h>

#include "format.h"
#include "text.h"

namespace ui::platform {
namespace {

std::string LocaleText(LCTYPE type, const std::string& fallback) {
  wchar_t buffer[128] = {};
  if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 128) <= 0)
    return fallback;
  return os::WideToUtf8(buffer);
}

}  // namespace

Locale ReadUserLocale() {
  Locale locale;
  locale.decimalSeparator = LocaleText(LOCALE_SDECIMAL, locale.decimalSeparator);
  locale.timeSeparator = LocaleText(LOCALE_STIME, locale.timeSeparator);
  locale.shortDate = LocaleText(LOCALE_SSHORTDATE, locale.shortDate);
  locale.longTime = LocaleText(LOCALE_STIMEFORMAT, locale.longTime);
  locale.am = LocaleText(LOCALE_S1159, locale.am);
  locale.pm = LocaleText(LOCALE_S2359, locale.pm);
  return locale;
}

DateTimeParts LocalTimeNow() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

}  // namespace ui::platform

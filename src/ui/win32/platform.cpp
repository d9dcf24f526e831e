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

bool FormatUserPicture(PictureKind kind, const std::string& picture, const DateTimeParts& parts,
                       std::string* text) {
  // The platform names days, months and eras in the user's language, with the forms its own
  // rules pick; it takes the years from 1601 on.
  if (parts.year < 1601 || parts.year > 30827)
    return false;
  SYSTEMTIME moment{};
  moment.wYear = static_cast<WORD>(parts.year);
  moment.wMonth = static_cast<WORD>(parts.month);
  moment.wDayOfWeek = static_cast<WORD>(DayOfWeek(parts));
  moment.wDay = static_cast<WORD>(parts.day);
  moment.wHour = static_cast<WORD>(parts.hour);
  moment.wMinute = static_cast<WORD>(parts.minute);
  moment.wSecond = static_cast<WORD>(parts.second);
  moment.wMilliseconds = static_cast<WORD>(parts.millisecond);
  const std::wstring format = os::Utf8ToWide(picture);
  // The length, the terminating zero included, when asked with no room; the length written.
  auto ask = [&](wchar_t* buffer, int size) {
    return kind == PictureKind::Date ? ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &moment,
                                                         format.c_str(), buffer, size, nullptr)
                                     : ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &moment,
                                                         format.c_str(), buffer, size);
  };
  const int size = ask(nullptr, 0);
  if (size <= 0)
    return false;
  std::wstring buffer(static_cast<std::size_t>(size), L'\0');
  const int written = ask(buffer.data(), size);
  if (written <= 0)
    return false;
  buffer.resize(static_cast<std::size_t>(written - 1));
  *text = os::WideToUtf8(buffer);
  return true;
}

DateTimeParts LocalTimeNow() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

}  // namespace ui::platform

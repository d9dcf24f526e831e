#include "format.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace ui {
namespace {

std::unique_ptr<Locale>& LocaleSlot() {
  static std::unique_ptr<Locale> locale;
  return locale;
}

// Exact decimal digits of |value| and the power of ten of the first one.
void ExactDigits(double value, std::string* digits, int* exponent) {
  // The same digits as printf's "%.40e", several times faster: a long log's export formats
  // four values a line.
  char buffer[64];
  const std::to_chars_result end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                                 std::chars_format::scientific, 40);
  std::string text(buffer, end.ptr);
  std::size_t e = text.find('e');
  *exponent = std::atoi(text.c_str() + e + 1);
  digits->clear();
  for (std::size_t i = 0; i < e; ++i) {
    if (text[i] != '.')
      digits->push_back(text[i]);
  }
}

// Keeps count digits, rounding half away from zero; a carry may add a leading digit.
void RoundDigits(std::string* digits, int* exponent, int count) {
  if (count < 0) {
    digits->assign(1, '0');
    return;
  }
  if (static_cast<std::size_t>(count) >= digits->size())
    return;
  bool up = (*digits)[static_cast<std::size_t>(count)] >= '5';
  digits->resize(static_cast<std::size_t>(count));
  if (!up)
    return;
  int i = count - 1;
  while (i >= 0 && (*digits)[static_cast<std::size_t>(i)] == '9') {
    (*digits)[static_cast<std::size_t>(i)] = '0';
    --i;
  }
  if (i >= 0) {
    ++(*digits)[static_cast<std::size_t>(i)];
  } else {
    digits->insert(digits->begin(), '1');
    ++*exponent;
  }
}

std::string TwoDigits(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d", value);
  return buffer;
}

// Days from 1 March of year 0 based civil date arithmetic.
int64_t DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int* y, int* m, int* d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  *d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  *m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  *y = static_cast<int>(yoe + era * 400 + (*m <= 2));
}

const int64_t kEpochDays = DaysFromCivil(1899, 12, 30);

// Walks a picture: field(letter, count) for each run of one character outside quotes, and
// quoted(text) for each quoted text, whose doubled quotes stand for one quote. A quote left open
// runs to the end.
template <typename Field, typename Quoted>
void WalkPicture(const std::string& picture, Field field, Quoted quoted) {
  for (std::size_t i = 0; i < picture.size();) {
    const char c = picture[i];
    if (c == '\'') {
      std::string text;
      std::size_t j = i + 1;
      for (; j < picture.size(); ++j) {
        if (picture[j] == '\'') {
          if (j + 1 >= picture.size() || picture[j + 1] != '\'')
            break;
          ++j;
        }
        text += picture[j];
      }
      quoted(text);
      i = j + 1;
      continue;
    }
    std::size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c)
      ++run;
    field(c, run);
    i += run;
  }
}

std::string RenderPicture(const std::string& picture, const DateTimeParts& parts) {
  const Locale& locale = UserLocale();
  // A month named in a picture with a day number takes its genitive form: "5 марта".
  bool dayNumber = false;
  WalkPicture(
      picture, [&](char c, std::size_t run) { dayNumber = dayNumber || (c == 'd' && run <= 2); },
      [](const std::string&) {});
  const std::size_t month = static_cast<std::size_t>(parts.month - 1) % 12;
  const std::size_t weekday = static_cast<std::size_t>(DayOfWeek(parts));
  auto monthName = [&](const std::array<std::string, 12>& plain,
                       const std::array<std::string, 12>& genitive) -> const std::string& {
    return dayNumber && !genitive[month].empty() ? genitive[month] : plain[month];
  };
  const int hour12 = parts.hour % 12 == 0 ? 12 : parts.hour % 12;
  std::string text;
  auto field = [&](char c, std::size_t run) {
    auto number = [&](int v) { return run >= 2 ? TwoDigits(v) : std::to_string(v); };
    switch (c) {
      case 'd':
        text += run <= 2   ? number(parts.day)
                : run == 3 ? locale.shortDayNames[weekday]
                           : locale.dayNames[weekday];
        break;
      case 'M':
        text += run <= 2   ? number(parts.month)
                : run == 3 ? monthName(locale.shortMonthNames, locale.genitiveShortMonthNames)
                           : monthName(locale.monthNames, locale.genitiveMonthNames);
        break;
      case 'y':
        text += run >= 3 ? std::to_string(parts.year) : TwoDigits(parts.year % 100);
        break;
      case 'g':
        text += locale.era;
        break;
      case 'H':
        text += number(parts.hour);
        break;
      case 'h':
        text += number(hour12);
        break;
      case 'm':
        text += number(parts.minute);
        break;
      case 's':
        text += number(parts.second);
        break;
      case 't': {
        const std::string& mark = parts.hour < 12 ? locale.am : locale.pm;
        // One marker letter: a whole character, however many bytes it takes.
        std::size_t letter = mark.empty() ? 0 : 1;
        while (letter < mark.size() && (static_cast<unsigned char>(mark[letter]) & 0xC0) == 0x80)
          ++letter;
        text += run >= 2 ? mark : mark.substr(0, letter);
        break;
      }
      default:
        text.append(run, c);
        break;
    }
  };
  WalkPicture(picture, field, [&](const std::string& quoted) { text += quoted; });
  return text;
}

// The platform's own text where it formats the user's pictures itself, else ours.
std::string PictureText(platform::PictureKind kind, const std::string& picture,
                        const DateTimeParts& parts) {
  std::string text;
  if (platform::FormatUserPicture(kind, picture, parts, &text))
    return text;
  return RenderPicture(picture, parts);
}

}  // namespace

const Locale& UserLocale() {
  auto& slot = LocaleSlot();
  if (!slot)
    slot = std::make_unique<Locale>(platform::ReadUserLocale());
  return *slot;
}

void SetUserLocale(const Locale& locale) {
  LocaleSlot() = std::make_unique<Locale>(locale);
}

std::string FormatFixed(double value, int decimals) {
  if (std::isnan(value))
    return "NAN";
  if (std::isinf(value))
    return value < 0 ? "-INF" : "INF";
  if (decimals < 0)
    decimals = 0;
  constexpr int kPrecision = 10;
  std::string digits;
  int exponent = 0;
  if (value != 0)
    ExactDigits(value, &digits, &exponent);
  const Locale& locale = UserLocale();
  std::string text;
  if (value != 0 && exponent + 1 > kPrecision) {
    // Too many digits before the separator: exponent notation, trailing zeros dropped.
    RoundDigits(&digits, &exponent, kPrecision);
    while (digits.size() > 1 && digits.back() == '0')
      digits.pop_back();
    text = digits.substr(0, 1);
    if (digits.size() > 1)
      text += locale.decimalSeparator + digits.substr(1);
    text += "E" + std::string(exponent < 0 ? "-" : "+") + std::to_string(std::abs(exponent));
    return (value < 0 ? "-" : "") + text;
  }
  if (value != 0) {
    // Digits kept: up to the last decimal shown, and never more than the precision.
    int keep = std::min(kPrecision, exponent + 1 + decimals);
    RoundDigits(&digits, &exponent, keep);
  }
  bool allZero = digits.find_first_not_of('0') == std::string::npos;
  // The digit at power p of ten, 0 where none was kept.
  auto digitAt = [&](int p) -> char {
    int index = exponent - p;
    if (allZero || index < 0 || index >= static_cast<int>(digits.size()))
      return '0';
    return digits[static_cast<std::size_t>(index)];
  };
  int highest = allZero ? 0 : std::max(0, exponent);
  for (int p = highest; p >= 0; --p)
    text += digitAt(p);
  if (decimals > 0) {
    text += locale.decimalSeparator;
    for (int p = -1; p >= -decimals; --p)
      text += digitAt(p);
  }
  if (value < 0 && !allZero)
    text = "-" + text;
  return text;
}

std::string IntToStr(int64_t value) {
  return std::to_string(value);
}

DateTimeParts DecodeDateTime(TDateTime value) {
  DateTimeParts parts;
  double day = std::trunc(value);
  int64_t ms = std::llround(std::fabs(value - day) * kSecondsPerDay * 1000.0);
  int64_t days = static_cast<int64_t>(day);
  if (ms >= 86400000) {
    ms -= 86400000;
    days += value < 0 ? -1 : 1;
  }
  CivilFromDays(kEpochDays + days, &parts.year, &parts.month, &parts.day);
  parts.hour = static_cast<int>(ms / 3600000);
  parts.minute = static_cast<int>(ms / 60000 % 60);
  parts.second = static_cast<int>(ms / 1000 % 60);
  parts.millisecond = static_cast<int>(ms % 1000);
  return parts;
}

TDateTime EncodeDateTime(const DateTimeParts& parts) {
  double days = static_cast<double>(DaysFromCivil(parts.year, parts.month, parts.day) - kEpochDays);
  double time = (parts.hour * 3600000.0 + parts.minute * 60000.0 + parts.second * 1000.0 +
                 parts.millisecond) /
                (kSecondsPerDay * 1000.0);
  // Before the epoch the fraction still counts forward from midnight.
  return days >= 0 ? days + time : days - time;
}

std::string FormatDateTime(const std::string& format, TDateTime value) {
  DateTimeParts parts = DecodeDateTime(value);
  const Locale& locale = UserLocale();
  std::string text;
  for (std::size_t i = 0; i < format.size();) {
    char c = static_cast<char>(std::tolower(static_cast<unsigned char>(format[i])));
    bool twice =
        i + 1 < format.size() && std::tolower(static_cast<unsigned char>(format[i + 1])) == c;
    int field = c == 'h' ? parts.hour : c == 'n' ? parts.minute : c == 's' ? parts.second : -1;
    if (field >= 0) {
      text += twice ? TwoDigits(field) : std::to_string(field);
      i += twice ? 2 : 1;
    } else {
      if (format[i] == ':') {
        text += locale.timeSeparator;
      } else {
        text += format[i];
      }
      ++i;
    }
  }
  return text;
}

int DayOfWeek(const DateTimeParts& parts) {
  // 1 January 1970 was a Thursday.
  const int64_t days = DaysFromCivil(parts.year, parts.month, parts.day);
  return static_cast<int>(((days + 4) % 7 + 7) % 7);
}

std::string FormatPicture(const std::string& picture, TDateTime value) {
  return RenderPicture(picture, DecodeDateTime(value));
}

std::string TimeToStr(TDateTime value) {
  return PictureText(platform::PictureKind::Time, UserLocale().longTime, DecodeDateTime(value));
}

std::string DateTimeToStr(TDateTime value) {
  const DateTimeParts parts = DecodeDateTime(value);
  std::string text = PictureText(platform::PictureKind::Date, UserLocale().shortDate, parts);
  if (parts.hour != 0 || parts.minute != 0 || parts.second != 0)
    text += " " + PictureText(platform::PictureKind::Time, UserLocale().longTime, parts);
  return text;
}

TDateTime Now() {
  return EncodeDateTime(platform::LocalTimeNow());
}

}  // namespace ui

// Numbers and date-times as text, with the user's locale: decimal separator, time separator,
// short date and long time formats, read once and settable by tests.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace ui {

struct Locale {
  std::string decimalSeparator = ".";
  std::string timeSeparator = ":";
  // Pictures in the platform's notation: d dd ddd dddd, M MM MMM MMMM, y yy yyyy, g gg,
  // h hh H HH m mm s ss t tt, and text in single quotes ('' for a quote inside them).
  std::string shortDate = "dd.MM.yyyy";
  std::string longTime = "HH:mm:ss";
  std::string am = "AM";
  std::string pm = "PM";
  // The names behind ddd, dddd, MMM, MMMM and g. Where the platform formats dates itself
  // (Windows) it takes its own; elsewhere these serve. Months from January, days from Sunday.
  // The genitive forms stand for a month named in a picture with a day number; where one is
  // empty the plain form serves.
  std::array<std::string, 12> monthNames = {"January",   "February", "March",    "April",
                                            "May",       "June",     "July",     "August",
                                            "September", "October",  "November", "December"};
  std::array<std::string, 12> shortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> genitiveMonthNames = {};
  std::array<std::string, 12> genitiveShortMonthNames = {};
  std::array<std::string, 7> dayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                         "Thursday", "Friday", "Saturday"};
  std::array<std::string, 7> shortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::string era = "AD";
};

// The user's locale, read from the platform at the first call.
const Locale& UserLocale();
void SetUserLocale(const Locale& locale);

// Fixed-point text with the given decimals, at a precision of 10 significant digits: rounded at
// the last digit kept with halves away from zero, no minus sign on a value that rounds to zero,
// the locale's decimal separator, no thousands separators. A value with more than 10 digits
// before the separator comes out in exponent notation.
std::string FormatFixed(double value, int decimals);

std::string IntToStr(int64_t value);

// Date-time values: days since 30 December 1899, midnight; the time of day is the fraction.
using TDateTime = double;
constexpr double kSecondsPerDay = 86400.0;

struct DateTimeParts {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

DateTimeParts DecodeDateTime(TDateTime value);
TDateTime EncodeDateTime(const DateTimeParts& parts);
// 0 for Sunday to 6 for Saturday.
int DayOfWeek(const DateTimeParts& parts);

// Formats with "hh" (hour 00-23), "nn" (minute), "ss" (second), "h", "n", "s" without the
// leading zero, and ":" for the locale's time separator; other characters stand as they are.
std::string FormatDateTime(const std::string& format, TDateTime value);

// The locale's long time format.
std::string TimeToStr(TDateTime value);
// The locale's short date, then a blank and the long time unless the time is midnight.
std::string DateTimeToStr(TDateTime value);
// Formats with a picture in the platform's notation, names from UserLocale().
std::string FormatPicture(const std::string& picture, TDateTime value);

// The local wall-clock time, to the millisecond.
TDateTime Now();

namespace platform {
// The platform's answers behind UserLocale and Now.
Locale ReadUserLocale();
DateTimeParts LocalTimeNow();
// The text of a date picture or of a time picture in the user's locale, where the platform
// formats them itself; false leaves the picture to FormatPicture.
enum class PictureKind { Date, Time };
bool FormatUserPicture(PictureKind kind, const std::string& picture, const DateTimeParts& parts,
                       std::string* text);
}  // namespace platform

}  // namespace ui

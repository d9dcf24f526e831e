#include <gtest/gtest.h>

#include "format.h"

namespace {

class FormatTest : public ::testing::Test {
 protected:
  void SetUp() override { ui::SetUserLocale(ui::Locale{}); }
  void TearDown() override { ui::SetUserLocale(ui::Locale{}); }
};

TEST_F(FormatTest, FixedPointRoundsHalvesAwayFromZeroWithoutNegativeZero) {
  struct Case {
    double value;
    int decimals;
    const char* expected;
  };
  const Case cases[] = {
      {0.125, 2, "0.13"},
      {-0.125, 2, "-0.13"},
      {-0.001, 2, "0.00"},
      {-0.004999, 2, "0.00"},
      {-0.005, 2, "-0.01"},
      {0.0, 2, "0.00"},
      {-0.0, 3, "0.000"},
      {1.23456, 3, "1.235"},
      {0.5, 3, "0.500"},
      {50.0, 2, "50.00"},
      {3.274, 2, "3.27"},
      {5.0, 3, "5.000"},
      {9.995, 2, "9.99"},  // the double lies below the half
      {99.995000001, 2, "100.00"},
      {1234567.891, 2, "1234567.89"},
      // Ten significant digits: the rest are zeros.
      {123456789.987654, 3, "123456790.000"},
      {0.12345678912345, 12, "0.123456789100"},
      {-12.5, 0, "-13"},
      {2.5, 0, "3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(ui::FormatFixed(c.value, c.decimals), c.expected);
  }
}

TEST_F(FormatTest, FixedPointSwitchesToExponentBeyondTenDigits) {
  EXPECT_EQ(ui::FormatFixed(12345678901.0, 2), "1.23456789E+10");
  EXPECT_EQ(ui::FormatFixed(9999999999.4, 2), "9999999999.00");
}

TEST_F(FormatTest, UsesTheLocaleDecimalSeparator) {
  ui::Locale russian;
  russian.decimalSeparator = ",";
  ui::SetUserLocale(russian);
  EXPECT_EQ(ui::FormatFixed(0.125, 2), "0,13");
  EXPECT_EQ(ui::FormatFixed(-1234.5, 3), "-1234,500");
  EXPECT_EQ(ui::IntToStr(-12), "-12");
}

TEST_F(FormatTest, DateTimeValuesCountDaysFrom1899) {
  struct Case {
    ui::DateTimeParts parts;
    double value;
    int dayOfWeek;
  };
  const Case cases[] = {
      {{1899, 12, 30, 0, 0, 0, 0}, 0.0, 6},
      {{1900, 1, 1, 6, 0, 0, 0}, 2.25, 1},
      {{2024, 3, 1, 12, 0, 0, 0}, 45352.5, 5},
      {{1899, 12, 29, 6, 0, 0, 0}, -1.25, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_DOUBLE_EQ(ui::EncodeDateTime(c.parts), c.value);
    EXPECT_EQ(ui::DayOfWeek(c.parts), c.dayOfWeek);
    ui::DateTimeParts back = ui::DecodeDateTime(c.value);
    EXPECT_EQ(back.year, c.parts.year);
    EXPECT_EQ(back.month, c.parts.month);
    EXPECT_EQ(back.day, c.parts.day);
    EXPECT_EQ(back.hour, c.parts.hour);
  }
}

TEST_F(FormatTest, FormatsTimesWithTheLocaleSeparator) {
  ui::TDateTime t = ui::EncodeDateTime({2024, 5, 7, 14, 5, 30, 0});
  ui::TDateTime justBeforeMinute = ui::EncodeDateTime({2024, 5, 7, 9, 7, 59, 999});
  struct Case {
    const char* separator;
    const char* format;
    ui::TDateTime value;
    const char* expected;
  };
  const Case cases[] = {
      {":", "hh:nn", t, "14:05"},       {":", "hh:nn:ss", t, "14:05:30"},
      {".", "hh:nn:ss", t, "14.05.30"}, {":", "hh:nn:ss", justBeforeMinute, "09:07:59"},
      {":", "h:n:s", t, "14:5:30"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    ui::Locale locale;
    locale.timeSeparator = c.separator;
    ui::SetUserLocale(locale);
    EXPECT_EQ(ui::FormatDateTime(c.format, c.value), c.expected);
  }
}

TEST_F(FormatTest, DateTimeTextLeavesOutMidnight) {
  ui::Locale locale;
  locale.shortDate = "dd.MM.yyyy";
  locale.longTime = "H:mm:ss";
  ui::SetUserLocale(locale);
  EXPECT_EQ(ui::DateTimeToStr(ui::EncodeDateTime({2024, 5, 7, 9, 5, 3, 0})), "07.05.2024 9:05:03");
  EXPECT_EQ(ui::DateTimeToStr(ui::EncodeDateTime({2024, 5, 7, 0, 0, 0, 400})), "07.05.2024");
  locale.shortDate = "M/d/yyyy";
  locale.longTime = "h:mm:ss tt";
  ui::SetUserLocale(locale);
  EXPECT_EQ(ui::DateTimeToStr(ui::EncodeDateTime({2024, 5, 7, 13, 5, 3, 0})),
            "5/7/2024 1:05:03 PM");
  EXPECT_EQ(ui::TimeToStr(ui::EncodeDateTime({2024, 5, 7, 0, 15, 0, 0})), "12:15:00 AM");
}

// Every letter of the platform's pictures, with the names of the locale: Russian as the
// platform names them, and the English defaults.
TEST_F(FormatTest, PicturesNameDaysMonthsAndErasFromTheLocale) {
  ui::Locale russian;
  russian.shortDate = "dd.MM.yyyy";
  russian.longTime = "H:mm:ss";
  russian.monthNames[2] = "март";
  russian.genitiveMonthNames[2] = "марта";
  russian.shortMonthNames[2] = "март";
  russian.genitiveShortMonthNames[2] = "мар.";
  russian.dayNames[4] = "четверг";
  russian.shortDayNames[4] = "чт";
  russian.era = "н. э.";
  ui::Locale japanese;
  japanese.am = "午前";
  const ui::Locale english;
  // Thursday, 5 March 2009, 9:07:09 in the morning.
  const ui::TDateTime moment = ui::EncodeDateTime({2009, 3, 5, 9, 7, 9, 0});
  struct Case {
    const ui::Locale& locale;
    const char* picture;
    const char* expected;
  };
  const Case cases[] = {
      // The Russian defaults, as they always came out.
      {russian, "dd.MM.yyyy", "05.03.2009"},
      {russian, "H:mm:ss", "9:07:09"},
      {russian, "dd-MMM-yy", "05-мар.-09"},
      {russian, "dddd, MMMM d, yyyy", "четверг, марта 5, 2009"},
      {russian, "gg yyyy/MM/dd", "н. э. 2009/03/05"},
      {russian, "d MMMM yyyy 'г.'", "5 марта 2009 г."},
      // Without a day number the month keeps its plain form; a weekday is no day number.
      {russian, "MMMM yyyy", "март 2009"},
      {russian, "dddd MMM", "четверг март"},
      {russian, "ddd, d MMM", "чт, 5 мар."},
      {english, "dd-MMM-yy", "05-Mar-09"},
      {english, "dddd, MMMM d, yyyy", "Thursday, March 5, 2009"},
      {english, "g yyyy/M/d", "AD 2009/3/5"},
      {english, "ddddd MMMMM yyyyy", "Thursday March 2009"},
      // Quoted text stands as it is, a doubled quote inside it as one quote.
      {english, "'d''M' d", "d'M 5"},
      {english, "d''MMMM", "5March"},
      {english, "'year' yyyy 'day", "year 2009 day"},
      // A one-letter marker is a whole character.
      {japanese, "t h", "午 9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.picture);
    ui::SetUserLocale(c.locale);
    EXPECT_EQ(ui::FormatPicture(c.picture, moment), c.expected);
  }
  // The date-time text joins the short date and the long time.
  russian.shortDate = "dd-MMM-yy";
  ui::SetUserLocale(russian);
  EXPECT_EQ(ui::DateTimeToStr(moment), "05-мар.-09 9:07:09");
}

TEST_F(FormatTest, NowIsTodayToTheMillisecond) {
  ui::TDateTime now = ui::Now();
  EXPECT_GT(now, 45000.0);  // after 2023
  EXPECT_LT(now, 80000.0);
}

}  // namespace

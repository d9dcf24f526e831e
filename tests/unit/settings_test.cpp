// The settings reading and writing rules. Built natively and for Windows, where it runs under
// Wine against the real private-profile calls.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "folders.h"
#include "profile.h"
#include "settings.h"

namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    IniFileName = os::CurrentFolder() + os::PathSeparator() + "settings_" + info->name() + ".ini";
    std::remove(IniFileName.c_str());
  }
  void TearDown() override { std::remove(IniFileName.c_str()); }

  void WriteFile(const std::string& text) {
    std::ofstream out(IniFileName, std::ios::binary);
    out << text;
  }
};

struct ReadCase {
  const char* name;
  const char* line;  // the key's line in [Programm], or nullptr for none
  const char* defaultText;
  int32_t expected;
};

TEST_F(SettingsTest, ReadsIntegersByTheReadingRule) {
  const ReadCase cases[] = {
      {"plain", "SM=7", "0", 7},
      {"negative", "SM=-1", "0", -1},
      {"letters after digits", "W=800xyz", "700", 800},
      {"blanks before", "W=  42", "700", 42},
      {"blanks around the sign", "W= +42 ", "700", 42},
      {"leading letter", "W=x800", "700", 0},
      {"empty value is not the default", "W=", "700", 0},
      {"missing key gives the default", nullptr, "700", 700},
      {"blanks around name and value", "  w  =  12  ", "700", 12},
      {"name in other letter case", "sm=3", "0", 3},
      {"beyond 32 bits saturates", "W=99999999999", "0", 2147483647},
      {"below 32 bits saturates", "W=-99999999999", "0", -2147483647 - 1},
      {"default with letters", nullptr, "12abc", 12},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(std::string("[Other]\r\nW=5\r\n[programm]\r\n") + (c.line ? c.line : "X=1") + "\r\n");
    std::string key = c.line ? std::string(c.line).substr(0, std::string(c.line).find('=')) : "W";
    key.erase(0, key.find_first_not_of(' '));
    key.erase(key.find_last_not_of(' ') + 1);
    EXPECT_EQ(ReadSetting("Programm", key, c.defaultText), c.expected);
  }
}

TEST_F(SettingsTest, MissingFileGivesDefaults) {
  EXPECT_EQ(ReadSetting("MainWindow", "W", "700"), 700);
  EXPECT_EQ(ReadSetting("LogWindow", "RmsColor", "4259584"), 4259584);
}

TEST_F(SettingsTest, OnlyTheFirst99CharactersCount) {
  // 98 zeros and a 7 are 99 characters; the 100th digit is cut off.
  std::string value(98, '0');
  WriteFile("[MainWindow]\r\nX=" + value + "78\r\n");
  EXPECT_EQ(ReadSetting("MainWindow", "X", "0"), 7);
  std::string text = os::ReadProfileText("MainWindow", "X", "", kSettingBufferChars, IniFileName);
  EXPECT_EQ(text.size(), 99u);
}

TEST_F(SettingsTest, WritesDecimalTextAndKeepsOtherKeys) {
  WriteSetting("MainWindow", "X", -20);
  WriteSetting("MainWindow", "Y", 10);
  WriteSetting("LogWindow", "RmsColor", 4259584);
  WriteSetting("MainWindow", "x", 1000);  // replaces X where it stands
  EXPECT_EQ(ReadSetting("MainWindow", "X", "0"), 1000);
  EXPECT_EQ(ReadSetting("MainWindow", "Y", "0"), 10);
  EXPECT_EQ(ReadSetting("LogWindow", "RmsColor", "0"), 4259584);
  EXPECT_EQ(os::ReadProfileText("MainWindow", "Y", "", kSettingBufferChars, IniFileName), "10");
  EXPECT_EQ(os::ReadProfileText("Programm", "SM", "none", kSettingBufferChars, IniFileName),
            "none");
}

TEST_F(SettingsTest, WriteAddsKeyToItsOwnSection) {
  WriteFile("[MainWindow]\r\nX=1\r\n\r\n[LogWindow]\r\nX=2\r\n");
  WriteSetting("MainWindow", "W", 800);
  WriteSetting("Programm", "SM", 1);
  EXPECT_EQ(ReadSetting("MainWindow", "W", "700"), 800);
  EXPECT_EQ(ReadSetting("LogWindow", "W", "700"), 700);
  EXPECT_EQ(ReadSetting("LogWindow", "X", "0"), 2);
  EXPECT_EQ(ReadSetting("Programm", "SM", "0"), 1);
}

}  // namespace

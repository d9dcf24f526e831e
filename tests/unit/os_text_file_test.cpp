// Code page 1251 from UTF-8, and one file put in the place of another.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "file.h"
#include "temp_dir.h"
#include "text.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

struct Cp1251Case {
  const char* name;
  std::string utf8;
  std::string cp1251;
};

TEST(Cp1251, EveryCharacterOfTheCodePageAndAQuestionMarkForTheRest) {
  const Cp1251Case cases[] = {
      {"plain ASCII", "Urms, 12.5;\r\n", "Urms, 12.5;\r\n"},
      {"А to я", "АБВЭЮЯабвэюя", "\xC0\xC1\xC2\xDD\xDE\xDF\xE0\xE1\xE2\xFD\xFE\xFF"},
      {"Ё, ё, №, €, no-break space", "Ёё№€\xC2\xA0", "\xA8\xB8\xB9\x88\xA0"},
      {"Ukrainian and Serbian letters", "ЇїЄєІіҐґЂђ", "\xAF\xBF\xAA\xBA\xB2\xB3\xA5\xB4\x80\x90"},
      {"letters the code page lacks", "äß中😀", "????"},
      {"a broken sequence",
       "a\xD0"
       "b\x80"
       "c\xE2\x82",
       "a?b?c?"},
      {"overlong and surrogate forms", "\xC0\xAF\xED\xA0\x80", "???"},
      {"empty", "", ""},
  };
  for (const Cp1251Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(os::Utf8ToCp1251(c.utf8), c.cp1251);
  }
  std::string appended = "x";
  os::AppendUtf8AsCp1251("кВ", &appended);
  EXPECT_EQ(appended, "x\xEA\xC2");
}

#if defined(_WIN32)
// The platform's own table, without its best-fit substitutes, agrees for every character of the
// Basic Multilingual Plane.
TEST(Cp1251, AgreesWithThePlatformsCodePage) {
  int differences = 0;
  for (wchar_t c = 1; c < 0xFFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF)
      continue;
    char ours = os::Utf8ToCp1251(os::WideToUtf8(std::wstring(1, c)))[0];
    char theirs = 0;
    BOOL defaulted = FALSE;
    ::WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, &c, 1, &theirs, 1, "?", &defaulted);
    if (ours != theirs && ++differences < 10)
      ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(c);
  }
  EXPECT_EQ(differences, 0);
}
#endif

TEST(MoveOver, ReplacesAFileButNotAFolder) {
  TempDir folder;
  const std::string from = folder.File("new.csv");
  const std::string to = folder.File("old.csv");
  WriteWholeFile(from, {'n', 'e', 'w'});
  WriteWholeFile(to, std::vector<unsigned char>(1000, 'o'));
  ASSERT_TRUE(os::MoveOver(from, to));
  EXPECT_EQ(ReadWholeFile(to), (std::vector<unsigned char>{'n', 'e', 'w'}));
  EXPECT_FALSE(os::FileExists(from));

  // A folder in the target's place: both stay.
  const std::string sub = folder.File("sub");
  std::filesystem::create_directory(sub);
  std::filesystem::create_directory(folder.File("sub/inner"));
  EXPECT_FALSE(os::MoveOver(to, sub));
  EXPECT_TRUE(os::FileExists(to));
  EXPECT_TRUE(std::filesystem::is_directory(sub));

  // A new file is made once and only once; then it goes.
  os::File made = os::File::Open(from, os::File::Mode::kCreateNew);
  EXPECT_TRUE(made.IsOpen());
  EXPECT_FALSE(os::File::Open(from, os::File::Mode::kCreateNew).IsOpen());
  made.Close();
  EXPECT_TRUE(os::RemoveFile(from));
  EXPECT_FALSE(os::FileExists(from));
}

}  // namespace

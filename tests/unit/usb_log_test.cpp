#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "file.h"
#include "records.h"
#include "temp_dir.h"
#include "usb_log.h"

namespace {

// A file of the user's named like the log, in the current directory.
const std::vector<unsigned char> kUsersFile = {'m', 'i', 'n', 'e', '\r', '\n'};

// The log lies in the folder "settings"; the current directory is another folder, which holds a
// "log.txt" of the user's that no test may change.
class UsbLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ServiceMode = 1;
    std::filesystem::create_directory(dir_.File("settings"));
    SetUsbLogFolder(dir_.File("settings"));
    WriteWholeFile(kUsbLogFileName, kUsersFile);
  }
  void TearDown() override {
    EXPECT_EQ(ReadWholeFile(kUsbLogFileName), kUsersFile) << "the current directory's log.txt";
    SetUsbLogFolder("");
    ServiceMode = 0;
  }
  std::string Log() const { return dir_.File("settings/log.txt"); }
  std::string LogText() const {
    auto bytes = ReadWholeFile(Log());
    return std::string(bytes.begin(), bytes.end());
  }
  TempDir dir_;
};

TEST(ByteToHex, WritesTwoUpperCaseDigitsAndAZero) {
  const struct {
    uint8_t value;
    const char* text;
  } cases[] = {{0x00, "00"}, {0x09, "09"}, {0x0A, "0A"}, {0x42, "42"},
               {0xA0, "A0"}, {0xD0, "D0"}, {0xFF, "FF"}};
  for (const auto& c : cases) {
    char text[3] = {'x', 'x', 'x'};
    ByteToHex(text, c.value);
    EXPECT_STREQ(text, c.text);
  }
}

TEST_F(UsbLogTest, AppendsOneExactLinePerTransfer) {
  WriteWholeFile(Log(), {});
  const uint8_t request[] = {0x42, 0x00, 0x00, 0x19, 0x19};
  const uint8_t reply[] = {0x0F, 0xA0, 0xFF};
  LogUsbData(request, 5, kUsbOut);
  LogUsbData(reply, 3, kUsbIn);
  EXPECT_EQ(LogText(), "OUT[5]: 42 00 00 19 19 \nIN[3]: 0F A0 FF \n");
}

TEST_F(UsbLogTest, ALongTransferIsOneLine) {
  WriteWholeFile(Log(), {'x', '\n'});
  std::vector<uint8_t> frame(8194, 0xAB);
  LogUsbData(frame.data(), static_cast<uint32_t>(frame.size()), kUsbIn);
  std::string expected = "x\nIN[8194]: ";
  for (size_t i = 0; i < frame.size(); ++i)
    expected += "AB ";
  expected += '\n';
  EXPECT_EQ(LogText(), expected);
}

TEST_F(UsbLogTest, NothingIsWrittenOffServiceModeOrForEmptyTransfers) {
  WriteWholeFile(Log(), {});
  const uint8_t byte = 0x42;
  LogUsbData(&byte, 0, kUsbOut);
  ServiceMode = 0;
  LogUsbData(&byte, 1, kUsbOut);
  EXPECT_EQ(LogText(), "");
}

// Only the settings folder's "log.txt" is the log: it is never created, and without a usable
// settings folder there is none.
TEST_F(UsbLogTest, TheLogIsNeverCreated) {
  const struct {
    const char* name;
    const char* folder;  // given as the settings folder, in the test's folder
    bool isFile;         // a file stands where the folder should be
  } rows[] = {
      {"the settings folder without a log", "settings", false},
      {"no settings folder given", "", false},
      {"a file in the settings folder's place", "VRX-470", true},
      {"a missing settings folder", "missing", false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    if (r.isFile)
      WriteWholeFile(dir_.File(r.folder), {'x'});
    SetUsbLogFolder(*r.folder ? dir_.File(r.folder) : "");
    const uint8_t byte = 0x42;
    LogUsbData(&byte, 1, kUsbOut);
    ClearUsbLog();
    EXPECT_EQ(ReadWholeFile(kUsbLogFileName), kUsersFile);
    if (*r.folder) {
      EXPECT_FALSE(os::FileExists(dir_.File(r.folder) + "/" + kUsbLogFileName));
    }
    if (r.isFile) {
      EXPECT_EQ(ReadWholeFile(dir_.File(r.folder)), std::vector<unsigned char>{'x'});
    }
  }
}

TEST_F(UsbLogTest, ClearEmptiesAnExistingLog) {
  WriteWholeFile(Log(), {'O', 'U', 'T', '\n'});
  ClearUsbLog();
  EXPECT_TRUE(os::FileExists(Log()));
  EXPECT_EQ(LogText(), "");
}

}  // namespace

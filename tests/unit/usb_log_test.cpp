#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "file.h"
#include "records.h"
#include "temp_dir.h"
#include "usb_log.h"

namespace {

std::string LogText() {
  auto bytes = ReadWholeFile(kUsbLogFileName);
  return std::string(bytes.begin(), bytes.end());
}

class UsbLogTest : public ::testing::Test {
 protected:
  void SetUp() override { ServiceMode = 1; }
  void TearDown() override { ServiceMode = 0; }
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
  WriteWholeFile(kUsbLogFileName, {});
  const uint8_t request[] = {0x42, 0x00, 0x00, 0x19, 0x19};
  const uint8_t reply[] = {0x0F, 0xA0, 0xFF};
  LogUsbData(request, 5, kUsbOut);
  LogUsbData(reply, 3, kUsbIn);
  EXPECT_EQ(LogText(), "OUT[5]: 42 00 00 19 19 \nIN[3]: 0F A0 FF \n");
}

TEST_F(UsbLogTest, ALongTransferIsOneLine) {
  WriteWholeFile(kUsbLogFileName, {'x', '\n'});
  std::vector<uint8_t> frame(8194, 0xAB);
  LogUsbData(frame.data(), static_cast<uint32_t>(frame.size()), kUsbIn);
  std::string expected = "x\nIN[8194]: ";
  for (size_t i = 0; i < frame.size(); ++i)
    expected += "AB ";
  expected += '\n';
  EXPECT_EQ(LogText(), expected);
}

TEST_F(UsbLogTest, NothingIsWrittenOffServiceModeOrForEmptyTransfers) {
  WriteWholeFile(kUsbLogFileName, {});
  const uint8_t byte = 0x42;
  LogUsbData(&byte, 0, kUsbOut);
  ServiceMode = 0;
  LogUsbData(&byte, 1, kUsbOut);
  EXPECT_EQ(LogText(), "");
}

TEST_F(UsbLogTest, TheLogIsNeverCreated) {
  const uint8_t byte = 0x42;
  LogUsbData(&byte, 1, kUsbOut);
  ClearUsbLog();
  EXPECT_FALSE(os::FileExists(kUsbLogFileName));
}

TEST_F(UsbLogTest, ClearEmptiesAnExistingLog) {
  WriteWholeFile(kUsbLogFileName, {'O', 'U', 'T', '\n'});
  ClearUsbLog();
  EXPECT_TRUE(os::FileExists(kUsbLogFileName));
  EXPECT_EQ(LogText(), "");
}

}  // namespace

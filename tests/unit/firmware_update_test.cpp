// The firmware update: the CRC, the image files beside the executable, the exchange with the
// simulated boot loader and its faults, and the dialog's hold on the connection thread. The main
// thread's side of Synchronize is pumped by the test.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "clock.h"
#include "connection_thread.h"
#include "counting_host.h"
#include "crc16.h"
#include "file.h"
#include "firmware_image.h"
#include "folders.h"
#include "ft_transport.h"
#include "main_thread_pump.h"
#include "sim_control.h"
#include "sw_update_form.h"
#include "sw_update_thread.h"
#include "temp_dir.h"

namespace {

using Lines = std::vector<std::string>;
using Bytes = std::vector<unsigned char>;

Lines Plus(Lines lines, const Lines& more) {
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

const Lines kWaiting = {"Поиск прибора", "Прибор обнаружен", "Ожидание ответа прибора"};
const Lines kSuccess = Plus(kWaiting, {"Запись FLASH", "OK", "Чтение EEPROM", "OK", "Запись EPPROM",
                                       "OK", "Обновление ПО успешно завершено"});
const Lines kInstructions = {"Выключите и включите прибор, долго удерживая ",
                             "кнопку включения. Затем нажмите кнопку ", "\"Обновить ПО\"."};
const char kFlashTooLarge[] =
    "Файл FLASH слишком большой. Не поместится в этот маленький прибор. Выберите прибор побольше.";
const char kEepromTooLarge[] =
    "Файл EEPROM слишком большой. Не поместится в этот маленький прибор. Выберите прибор побольше.";
const char kWrongId[] = "Ошибка связи. Неверный идентификатор прибора.";

// Pauses of the link are counted and kept short, so a loop that pauses shows it without waiting.
std::atomic<int> pauses{0};
void ShortPause(uint32_t) {
  ++pauses;
  std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

Bytes FileContent(size_t size, unsigned seed) {
  Bytes bytes(size);
  for (size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<unsigned char>(i * 31 + seed);
  return bytes;
}

// What goes to the instrument for a file's content: the content, 0xFF up to the full size, and
// the CRC of all but the last two bytes in the last two, high byte first.
Bytes SentImage(Bytes content, size_t size) {
  content.resize(size, 0xFF);
  const uint16_t crc = Crc16(content.data(), static_cast<int32_t>(size - 2));
  content[size - 2] = static_cast<unsigned char>(crc >> 8);
  content[size - 1] = static_cast<unsigned char>(crc);
  return content;
}

class FirmwareUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    simctl::UseSimulator();
    ResetFtTransportForTests();
    ASSERT_EQ(LoadFtDriver(), 1);
    pauses = 0;
    previousSleep_ = os::SetSleepFunction(&ShortPause);
    received_ = dir_.File("received");
    std::filesystem::create_directories(received_);
  }
  void TearDown() override {
    FinishUpdate();
    delete SWUpdateForm;
    SWUpdateForm = nullptr;
    for (const char* name : {kFlashFileName, kEepromFileName})
      std::remove((os::ExecutableFolder() + name).c_str());
    os::SetSleepFunction(previousSleep_);
  }
  void FinishUpdate() {
    if (UpdateThread == nullptr)
      return;
    UpdateThread->Terminate();
    UpdateThread->WaitFor();
    delete UpdateThread;
    UpdateThread = nullptr;
  }
  // Image files beside the test program; a negative size leaves the file out.
  void WriteImages(long flashSize, long eepromSize) {
    const std::string folder = os::ExecutableFolder();
    if (flashSize >= 0)
      WriteWholeFile(folder + kFlashFileName, flash_ = FileContent(size_t(flashSize), 7));
    if (eepromSize >= 0)
      WriteWholeFile(folder + kEepromFileName, eeprom_ = FileContent(size_t(eepromSize), 3));
  }
  void Configure(const std::string& scenario) {
    ASSERT_TRUE(simctl::Configure((scenario + "\nboot_images = " + received_).c_str()));
  }
  // Opens the dialog and presses "Обновить ПО".
  void Press() {
    if (SWUpdateForm == nullptr)
      SWUpdateForm = new TSWUpdateForm(nullptr);
    SWUpdateForm->Button1->Click();
  }
  // One whole update: its memo lines once the thread has ended.
  Lines Run(const std::string& scenario) {
    Configure(scenario);
    Press();
    EXPECT_TRUE(PumpUntil([] { return UpdateThread->Finished(); })) << "the update never ended";
    return Memo();
  }
  Lines Memo() const { return SWUpdateForm->Memo->Lines(); }
  Bytes Received(const char* name) const { return ReadWholeFile(received_ + "/" + name); }

  TempDir dir_;
  std::string received_;
  Bytes flash_, eeprom_;
  os::SleepFunction previousSleep_ = nullptr;
};

TEST(Crc16Test, Vectors) {
  const struct {
    std::string data;
    uint16_t crc;
  } cases[] = {{"", 0xFFFF}, {"123456789", 0x29B1}, {"A", 0xB915}, {std::string(1, '\0'), 0xE1F0}};
  for (const auto& c : cases) {
    EXPECT_EQ(
        Crc16(reinterpret_cast<const uint8_t*>(c.data.data()), static_cast<int32_t>(c.data.size())),
        c.crc)
        << c.data;
  }
}

TEST_F(FirmwareUpdateTest, ImageFilesBySize) {
  const long kMissing = -1;
  const struct {
    long flash, eeprom;
    Lines lines;
  } cases[] = {
      {0, 512, kSuccess},
      {1, 512, kSuccess},
      {14334, 0, kSuccess},
      {14336, 511, kSuccess},
      {14337, 512, {kFlashTooLarge}},
      {14336, 513, {kEepromTooLarge}},
      {kMissing, 512, {"Файл FLASH не найден."}},
      {100, kMissing, {"Файл EEPROM не найден."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.flash) + " / " + std::to_string(c.eeprom));
    TearDown();
    SetUp();
    WriteImages(c.flash, c.eeprom);
    // Files of the current directory are not the program's.
    WriteWholeFile(kFlashFileName, FileContent(100, 1));
    WriteWholeFile(kEepromFileName, FileContent(100, 1));
    EXPECT_EQ(Run("boot_loader = 1"), c.lines);
    if (c.lines == kSuccess) {
      EXPECT_EQ(Received("flash.bin"), SentImage(flash_, kFlashImageSize));
      EXPECT_EQ(Received("eeprom.bin"), SentImage(eeprom_, kEepromImageSize));
    } else {
      // Refused before a byte went out, and the file is closed again.
      EXPECT_TRUE(simctl::Received().empty());
      EXPECT_EQ(simctl::Counter("FT_OpenEx"), 0u);
      if (c.flash >= 0) {
        EXPECT_TRUE(os::File::Open(os::ExecutableFolder() + kFlashFileName,
                                   os::File::Mode::kReadWriteExisting)
                        .IsOpen());
      }
    }
  }
}

TEST_F(FirmwareUpdateTest, BootLoaderAnswers) {
  const size_t kBoth = kFlashImageSize + kEepromImageSize;
  const struct {
    const char* scenario;
    Lines lines;
    size_t received;
    uint32_t reads;  // 0: not counted
  } cases[] = {
      {"boot_announcement = 0x7789", Plus(kWaiting, {kWrongId}), 0, 1},
      // 77 alone, then 88 77: the first byte is dropped and the next two are judged.
      {"boot_split = 1", Plus(kWaiting, {kWrongId}), 0, 2},
      {"boot_flash_ack = 0x0001", Plus(kWaiting, {"Запись FLASH", "Ошибка записи FLASH"}),
       kFlashImageSize, 2},
      {"boot_eeprom_ack = 0x0100",
       Plus(kWaiting,
            {"Запись FLASH", "OK", "Чтение EEPROM", "OK", "Запись EPPROM", "Ошибка записи EPPROM"}),
       kBoth, 0},
      // The byte whose write failed is sent again once the instrument is back.
      {"unplug_at_byte = 5000\nreplug_after_ms = 0", kSuccess, kBoth, 0},
  };
  WriteImages(kFlashImageSize, kEepromImageSize);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scenario);
    FinishUpdate();
    EXPECT_EQ(Run(std::string("boot_loader = 1\n") + c.scenario), c.lines);
    EXPECT_EQ(simctl::Received().size(), c.received);
    if (c.reads != 0) {
      EXPECT_EQ(simctl::Counter("FT_Read"), c.reads);
    }
    if (c.received >= kFlashImageSize) {
      EXPECT_EQ(Received("flash.bin"), SentImage(flash_, kFlashImageSize));
    }
  }
  EXPECT_EQ(simctl::Counter("failed_writes"), 1u);
}

TEST_F(FirmwareUpdateTest, ASilentBootLoaderIsAwaitedWithPausesAcrossALostLinkUntilClose) {
  WriteImages(10, 10);
  Configure("boot_loader = 1\nsilent = 1");
  Press();
  SWUpdateThreadClass* update = UpdateThread;
  ASSERT_TRUE(PumpUntil([&] { return Memo() == kWaiting && pauses >= 5; }));
  // Every empty read is followed by a pause: the loop waits, it does not spin.
  EXPECT_LE(simctl::Counter("FT_Read"), uint32_t(pauses) + 1);

  // A second press while the update waits starts nothing.
  SWUpdateForm->Button1->Click();
  EXPECT_EQ(UpdateThread, update);

  // The link goes: the loop gets it back through a new open and goes on waiting.
  simctl::SetAttached(false);
  ASSERT_TRUE(PumpUntil([] { return simctl::Counter("FT_Close") >= 2; }));
  simctl::SetAttached(true);
  ASSERT_TRUE(PumpUntil([] { return simctl::Counter("FT_OpenEx") >= 2; }));
  const uint32_t reads = simctl::Counter("FT_Read");
  ASSERT_TRUE(PumpUntil([&] { return simctl::Counter("FT_Read") > reads; }));

  // Esc, as "Закрыть": the waiting update ends and nothing was ever sent.
  EXPECT_TRUE(SWUpdateForm->DialogKey(ui::TDialogKey::Escape, nullptr));
  ASSERT_TRUE(PumpUntil([] { return UpdateThread->Finished(); }));
  EXPECT_EQ(Memo(), kWaiting);
  EXPECT_TRUE(simctl::Received().empty());
}

TEST_F(FirmwareUpdateTest, NoLineReachesADeletedDialogNorTheNextOne) {
  WriteImages(10, 10);
  Configure("boot_loader = 1\nsilent = 1");
  Press();
  // The update waits in Synchronize to clear the memo of the dialog that is about to go.
  ASSERT_TRUE(os::WaitForSynchronize(20000));
  delete SWUpdateForm;
  SWUpdateForm = new TSWUpdateForm(nullptr);
  ASSERT_TRUE(PumpUntil([] { return UpdateThread->Finished(); }));
  EXPECT_EQ(Memo(), kInstructions);
}

TEST_F(FirmwareUpdateTest, WithoutTheDriverLibraryNothingTouchesTheLink) {
  ResetFtTransportForTests();
  WriteImages(10, 10);
  EXPECT_EQ(Run("boot_loader = 1"),
            (Lines{"Драйвер не найден!", "Переустановите драйвер устройства!"}));
  EXPECT_EQ(simctl::Counter("FT_OpenEx") + simctl::Counter("FT_Read"), 0u);
}

TEST_F(FirmwareUpdateTest, EachOpeningLetsTheConnectionThreadGoOnceAndEachPressHoldsItOnceMore) {
  // No image files: each update ends at once, after holding the connection thread.
  ResetFtTransportForTests();
  Configure("");
  CountingHost host;
  FtConnectThread = os::TThread::Create<classFtConnectThread>(false, host, std::nullopt);
  auto polls = [] { return simctl::Counter("requests_param"); };
  ASSERT_TRUE(PumpUntil([&] { return polls() > 0; }));

  SWUpdateForm = new TSWUpdateForm(nullptr);
  EXPECT_EQ(FtConnectThread->SuspendCount(), 0);
  for (int press = 1; press <= 2; ++press) {
    Press();
    ASSERT_TRUE(PumpUntil([] { return UpdateThread->Finished(); }));
    EXPECT_EQ(FtConnectThread->SuspendCount(), press);
  }
  const int held[] = {1, 0};
  for (int count : held) {
    delete SWUpdateForm;
    SWUpdateForm = new TSWUpdateForm(nullptr);
    EXPECT_EQ(FtConnectThread->SuspendCount(), count);
  }
  const uint32_t before = polls();
  ASSERT_TRUE(PumpUntil([&] { return polls() > before; })) << "the connection thread stays held";

  FtConnectThread->Terminate();
  FtConnectThread->WaitFor();
  delete FtConnectThread;
  FtConnectThread = nullptr;
}

}  // namespace

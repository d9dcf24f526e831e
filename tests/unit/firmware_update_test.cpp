// The firmware update: the CRC, the image files beside the executable, the exchange with the
// simulated boot loader and its faults, and the dialog's hold on the connection thread. The main
// thread's side of Synchronize is pumped by the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "chip_queue.h"
#include "clock.h"
#include "connection_hold.h"
#include "connection_thread.h"
#include "counting_host.h"
#include "crc16.h"
#include "file.h"
#include "firmware_image.h"
#include "folders.h"
#include "ft_ident_form.h"
#include "ft_transport.h"
#include "main_thread_pump.h"
#include "records.h"
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
// The identity dialog's memo after "Вшить" with the instrument alone attached.
const Lines kIdentityRun = {"подключено 1 устройств",
                            "",
                            "устройство номер 0:",
                            "SerialNumber=VRX47001",
                            "устройство VRX-470 прошито успешно",
                            "  "};

// Pauses of the link are counted and kept short, so a loop that pauses shows it without waiting.
std::atomic<int> pauses{0};
void ShortPause(uint32_t) {
  ++pauses;
  std::this_thread::sleep_for(std::chrono::milliseconds(1));
}
bool ShortPauseWait(std::condition_variable& changed, std::unique_lock<std::mutex>& lock, uint32_t,
                    const std::function<bool()>& ended) {
  ++pauses;
  return changed.wait_for(lock, std::chrono::milliseconds(1), ended);
}

// What happens to the dialog once its update is writing the flash image.
enum class DialogAct {
  kNone,
  kClose,         // "Закрыть" after about 3,000 flash bytes
  kEsc,           // Esc as the first flash byte is about to go out
  kCloseBox,      // the close box, likewise
  kLostAndClose,  // "Закрыть" while the update waits for the link it lost in the flash image
  kCloseThenIdentity,  // "Закрыть" as kClose, then the identity dialog instead and "Вшить"
};

// The driver calls of a trace between the boot loader's announcement and its last acknowledgement
// (the first and last whole two-byte reads): the image bytes written, and every call that is not
// the update's own.
struct ExchangeCalls {
  size_t imageBytes = 0;
  std::vector<std::string> foreign;
};
ExchangeCalls CallsOfTheExchange(const std::string& trace) {
  std::vector<std::string> calls(1);
  for (unsigned char c : ReadWholeFile(trace)) {
    if (c == '\n')
      calls.emplace_back();
    else
      calls.back() += static_cast<char>(c);
  }
  auto answer = [](const std::string& call) {
    return call.rfind("FT_Read ", 0) == 0 && call.find(" len=2 got=2 ") != std::string::npos;
  };
  const auto first = std::find_if(calls.begin(), calls.end(), answer);
  const auto last = std::find_if(calls.rbegin(), calls.rend(), answer).base();
  ExchangeCalls exchange;
  for (auto call = first; call < last; ++call) {
    if (call->rfind("FT_Write ", 0) == 0 && call->find(" len=1 sent=1 ") != std::string::npos)
      ++exchange.imageBytes;
    else if (!answer(*call) && call->find(" len=512 got=512 ") == std::string::npos &&
             call->rfind("FT_GetStatus ", 0) != 0)
      exchange.foreign.push_back(*call);
  }
  return exchange;
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
    previousPauseWait_ = os::SetPauseWait(&ShortPauseWait);
    received_ = dir_.File("received");
    std::filesystem::create_directories(received_);
  }
  void TearDown() override {
    FinishUpdate();
    StopConnectionThread();
    delete SWUpdateForm;
    SWUpdateForm = nullptr;
    for (const char* name : {kFlashFileName, kEepromFileName})
      std::remove((os::ExecutableFolder() + name).c_str());
    os::SetSleepFunction(previousSleep_);
    os::SetPauseWait(previousPauseWait_);
  }
  // The program's connection thread, polling from the start.
  void StartConnectionThread() {
    FtConnectThread = os::TThread::Create<classFtConnectThread>(false, host_, std::nullopt);
  }
  // Each request of the connection thread begins with a purge of the chip: one a poll.
  static uint32_t Polls() { return simctl::Counter("FT_Purge"); }
  void StopConnectionThread() {
    if (FtConnectThread == nullptr)
      return;
    // Its requests are retried until answered: an instrument that runs its firmware lets it end.
    simctl::Configure("");
    while (FtConnectThread->SuspendCount() > 0)
      FtConnectThread->Resume();
    FtConnectThread->Terminate();
    EXPECT_TRUE(PumpUntil([] { return FtConnectThread->Finished(); }, "the connection thread"));
    FtConnectThread->WaitFor();
    delete FtConnectThread;
    FtConnectThread = nullptr;
  }
  void FinishUpdate() {
    if (UpdateThread == nullptr)
      return;
    UpdateThread->Terminate();
    UpdateThread->WaitFor();
    delete UpdateThread;
    UpdateThread = nullptr;
    // An update asked to stop leaves its last unsaid line behind.
    UpdateMessage.clear();
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
    for (const char* image : {"flash.bin", "eeprom.bin"})
      std::filesystem::remove(received_ + "/" + image);
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
  // Runs the update's synchronised calls until it waits to say `line`; the update stands still
  // until the next CheckSynchronize. Gives up after 20 s.
  static ::testing::AssertionResult UntilAbout(const std::string& line) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < giveUp) {
      // While the update waits in Synchronize, its message stays as it is.
      if (os::WaitForSynchronize(10) && UpdateMessage == line)
        return ::testing::AssertionSuccess();
      os::CheckSynchronize();
    }
    return ::testing::AssertionFailure() << "gave up after 20 s waiting for \"" << line << "\"";
  }
  Lines Memo() const { return SWUpdateForm->Memo->Lines(); }
  Bytes Received(const char* name) const { return ReadWholeFile(received_ + "/" + name); }

  TempDir dir_;
  std::string received_;
  Bytes flash_, eeprom_;
  CountingHost host_;
  os::SleepFunction previousSleep_ = nullptr;
  os::PauseWaitFunction previousPauseWait_ = nullptr;
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
    uint32_t failedWrites = 0;
    DialogAct act = DialogAct::kNone;
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
      {"unplug_at_byte = 5000\nreplug_after_ms = 0", kSuccess, kBoth, 0, 1},
      // At the line's own rate, with the connection thread polling the boot loader until the
      // press: however the dialog closes once the image has begun, both images arrive whole and
      // the dialog opened again finds the update ended.
      {"rate = real", kInstructions, kBoth, 0, 0, DialogAct::kClose},
      {"rate = real", kInstructions, kBoth, 0, 0, DialogAct::kEsc},
      {"rate = real", kInstructions, kBoth, 0, 0, DialogAct::kCloseBox},
      // The identity dialog opened in its place waits for the update as well, and its run
      // comes after the last acknowledgement.
      {"rate = real", kIdentityRun, kBoth, 0, 0, DialogAct::kCloseThenIdentity},
      // The link lost in the flash image for good: closing ends the update, and with the
      // instrument back a new one goes through.
      {"rate = real\nunplug_at_byte = 3000", kSuccess, kBoth, 0, 0, DialogAct::kLostAndClose},
  };
  WriteImages(kFlashImageSize, kEepromImageSize);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scenario);
    FinishUpdate();
    StopConnectionThread();
    const std::string scenario = std::string("boot_loader = 1\n") + c.scenario;
    if (c.act == DialogAct::kNone) {
      EXPECT_EQ(Run(scenario), c.lines);
      EXPECT_EQ(simctl::Received().size(), c.received);
      EXPECT_EQ(simctl::Counter("failed_writes"), c.failedWrites);
    } else {
      const std::string trace = dir_.File("trace" + std::to_string(int(c.act)));
      Configure(scenario + "\ntrace = " + trace);
      StartConnectionThread();
      const uint32_t polled = Polls();
      ASSERT_TRUE(PumpUntil([&] { return Polls() > polled; }, "a poll of the boot loader"));
      const size_t polledBytes = simctl::Received().size();
      switch (c.act) {
        case DialogAct::kClose:
        case DialogAct::kCloseThenIdentity:
          Press();
          ASSERT_TRUE(PumpUntil([&] { return simctl::Received().size() >= polledBytes + 3000; }));
          SWUpdateForm->Button2->Click();
          break;
        case DialogAct::kEsc:
          Press();
          ASSERT_TRUE(UntilAbout("Запись FLASH"));
          EXPECT_TRUE(SWUpdateForm->DialogKey(ui::TDialogKey::Escape, nullptr));
          break;
        case DialogAct::kCloseBox:
          Press();
          ASSERT_TRUE(UntilAbout("Запись FLASH"));
          SWUpdateForm->Close();
          break;
        default:
          Press();
          ASSERT_TRUE(PumpUntil([] { return simctl::Counter("failed_writes") > 0; }));
          SWUpdateForm->Button2->Click();
          break;
      }
      // The menu command deletes the dialog as it closes and makes the next one.
      delete SWUpdateForm;
      SWUpdateForm = nullptr;
      Lines opened;
      if (c.act == DialogAct::kCloseThenIdentity) {
        FtIdentForm = new TFtIdentForm(nullptr);
        EXPECT_TRUE(UpdateThread->Finished()) << "the identity dialog took the link first";
        FtIdentForm->Button1->Click();
        opened = FtIdentForm->Memo->Lines();
        delete FtIdentForm;
        FtIdentForm = nullptr;
      } else {
        SWUpdateForm = new TSWUpdateForm(nullptr);
        EXPECT_TRUE(UpdateThread->Finished()) << "the dialog let the connection thread go first";
        EXPECT_EQ(Memo(), kInstructions);
      }
      if (c.act == DialogAct::kLostAndClose) {
        FinishUpdate();
        simctl::SetAttached(true);
        Press();
        ASSERT_TRUE(PumpUntil([] { return UpdateThread->Finished(); }, "the second update"));
      } else {
        // Configured anew, the simulator lets go of its trace, which Windows keeps unshared.
        StopConnectionThread();
        const ExchangeCalls exchange = CallsOfTheExchange(trace);
        EXPECT_EQ(exchange.imageBytes, kBoth);
        EXPECT_EQ(exchange.foreign, std::vector<std::string>{});
      }
      EXPECT_EQ(SWUpdateForm != nullptr ? Memo() : opened, c.lines);
      EXPECT_EQ(Received("eeprom.bin"), SentImage(eeprom_, kEepromImageSize));
    }
    if (c.reads != 0) {
      EXPECT_EQ(simctl::Counter("FT_Read"), c.reads);
    }
    if (c.received >= kFlashImageSize) {
      EXPECT_EQ(Received("flash.bin"), SentImage(flash_, kFlashImageSize));
    }
  }
}

TEST_F(FirmwareUpdateTest, ASilentBootLoaderIsReadAgainAtOnceAndAwaitedAcrossALostLinkUntilClose) {
  WriteImages(10, 10);
  Configure("boot_loader = 1\nsilent = 1");
  StartConnectionThread();
  ASSERT_TRUE(PumpUntil([] { return Polls() > 0; }, "a poll of the boot loader"));
  Press();
  const size_t polledBytes = simctl::Received().size();
  SWUpdateThreadClass* update = UpdateThread;
  ASSERT_TRUE(PumpUntil([&] { return Memo() == kWaiting; }));
  // On a good link an empty read is repeated at once: the driver's time-out is the wait.
  const int pausesBefore = pauses;
  const uint32_t readsBefore = simctl::Counter("FT_Read");
  ASSERT_TRUE(PumpUntil([&] { return simctl::Counter("FT_Read") > readsBefore + 20; }));
  EXPECT_EQ(pauses, pausesBefore);

  // A second press while the update waits starts nothing.
  SWUpdateForm->Button1->Click();
  EXPECT_EQ(UpdateThread, update);

  // The link goes: the loop waits for it, a pause between opens, and goes on reading once a new
  // open got it back.
  simctl::SetAttached(false);
  ASSERT_TRUE(PumpUntil([] { return simctl::Counter("FT_Close") >= 1; }));
  ASSERT_TRUE(PumpUntil([&] { return pauses >= pausesBefore + 5; }));
  EXPECT_LE(simctl::Counter("FT_OpenEx"), uint32_t(pauses - pausesBefore) + 1);
  // Counted before the link comes back: the open that gets it back may come at once.
  const uint32_t opens = simctl::Counter("FT_OpenEx");
  simctl::SetAttached(true);
  ASSERT_TRUE(PumpUntil([&] { return simctl::Counter("FT_OpenEx") > opens; }));
  const uint32_t reads = simctl::Counter("FT_Read");
  ASSERT_TRUE(PumpUntil([&] { return simctl::Counter("FT_Read") > reads; }));

  // Esc, as "Закрыть": the waiting update ends after at most the read it is in, the dialog
  // opened again finds it ended and lets the connection thread poll again, and nothing of the
  // update was ever sent.
  EXPECT_EQ(Memo(), kWaiting);
  EXPECT_TRUE(SWUpdateForm->DialogKey(ui::TDialogKey::Escape, nullptr));
  const uint32_t readsAtClose = simctl::Counter("FT_Read");
  ASSERT_TRUE(PumpUntil([] { return UpdateThread->Finished(); }, "the end of the update"));
  EXPECT_LE(simctl::Counter("FT_Read"), readsAtClose + 1);
  EXPECT_EQ(simctl::Received().size(), polledBytes);
  delete SWUpdateForm;
  SWUpdateForm = new TSWUpdateForm(nullptr);
  const uint32_t polls = Polls();
  ASSERT_TRUE(PumpUntil([&] { return Polls() > polls; }, "a poll after the opening"));
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
  StartConnectionThread();
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
}

TEST_F(FirmwareUpdateTest, AfterAHoldAtARandomMomentOfLiveReadingsTheAnnouncementComesFirst) {
  // The connection thread measures at the line rate, where received bytes reach the PC in whole
  // USB transfers and the rest of a reply once the chip's latency timer has run out. The update
  // does not empty the chip's queue: a byte of a reply left there would be read as the boot
  // loader's announcement.
  WriteImages(kFlashImageSize, kEepromImageSize);
  ResetFtTransportForTests();
  Configure("rate = real");
  SignalRecord.log2N = 12;
  SourceMode = kSourceLive;
  CountingHost host;
  FtConnectThread = os::TThread::Create<classFtConnectThread>(false, host, std::nullopt);
  ASSERT_TRUE(PumpUntil([&] { return host.readings >= 2; }, "two live readings"));
  SWUpdateForm = new TSWUpdateForm(nullptr);
  std::mt19937 random(19);
  PumpFor(std::chrono::milliseconds(std::uniform_int_distribution<int>(0, 120)(random)));
  ASSERT_EQ(HoldConnectionThread(), ConnectionHold::kHeld);
  EXPECT_TRUE(NothingLeftInTheChip());
  // Switched off and on with its power button held, while the thread stands held.
  simctl::PowerCycle(true);
  Press();
  ASSERT_TRUE(PumpUntil([] { return UpdateThread->Finished(); }, "the update's end"));
  EXPECT_EQ(Memo(), kSuccess);
  EXPECT_EQ(Received("flash.bin"), SentImage(flash_, kFlashImageSize));

  while (FtConnectThread->SuspendCount() > 0)
    ReleaseConnectionThread();
  FtConnectThread->Terminate();
  FtConnectThread->WaitFor();
  delete FtConnectThread;
  FtConnectThread = nullptr;
}

}  // namespace

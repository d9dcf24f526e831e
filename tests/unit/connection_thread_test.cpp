// The connection thread against the simulated instrument, with the main thread's side pumped by
// the test.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "connection_thread.h"
#include "ft_transport.h"
#include "library.h"
#include "records.h"
#include "sim_control.h"
#include "sync_pump.h"
#include "temp_dir.h"

namespace {

// The main window as the thread sees it: every call is written down.
class FakeHost : public ConnectionHost {
 public:
  void ReportFileError() override { calls.push_back("file error"); }
  void SelectFileSource() override { calls.push_back("select file"); }
  void ShowRecord(const TMeasRecord& record) override {
    ++shows;
    shown = &record;
    if (&record == &FileRecord)
      calls.push_back("show file");
  }
  void AddLogPoint(const TMeasRecord&) override { ++logPoints; }
  void SetCycleTimeText(const std::string& text) override { cycleText = text; }
  int SelectedMemorySlot() override { return slot; }
  void ReportMissingDriver() override { calls.push_back("no driver"); }

  std::vector<std::string> calls;
  const TMeasRecord* shown = nullptr;
  int shows = 0;
  int logPoints = 0;
  int slot = 0;
  std::string cycleText;
};

class ConnectionThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    simctl::UseSimulator();
    ResetFtTransportForTests();
    ResetConnectionStateForTests();
    std::memset(&SignalRecord, 0, sizeof SignalRecord);
    SignalRecord.log2N = 12;
    for (auto& record : MemoryRecords) {
      std::memset(&record, 0, sizeof record);
      record.log2N = 14;
    }
    SourceMode = kSourceLive;
    RunMode = kRunContinuous;
  }
  void TearDown() override {
    if (thread_) {
      thread_->Resume();
      thread_->Terminate();
      thread_->WaitFor();
      delete thread_;
    }
    SourceMode = kSourceLive;
    RunMode = kRunContinuous;
  }
  void Start(const char* scenario, std::optional<std::string> recordFile = std::nullopt) {
    ASSERT_TRUE(simctl::Configure(scenario));
    thread_ = os::TThread::Create<classFtConnectThread>(false, host_, std::move(recordFile));
  }
  // Holds the thread at its safe point, so the records can be read.
  void Hold() {
    thread_->Suspend();
    thread_->WaitUntilHeld();
  }
  FakeHost host_;
  classFtConnectThread* thread_ = nullptr;
  TempDir dir_;
};

TEST_F(ConnectionThreadTest, LiveReadingsAreShownAndLogged) {
  Start("");
  ASSERT_TRUE(PumpUntil([&] { return host_.logPoints >= 3; }));
  Hold();
  EXPECT_EQ(host_.shown, &SignalRecord);
  EXPECT_GT(SignalRecord.uRms, 1.0f);  // the simulator's 10 kV signal, processed
  EXPECT_NE(SignalRecord.kalibr[0].DC, 0);
  // Digits followed directly by "мс".
  ASSERT_GT(host_.cycleText.size(), std::string("мс").size());
  EXPECT_EQ(host_.cycleText.substr(host_.cycleText.size() - 4), "мс");
  EXPECT_NE(host_.cycleText[0], ' ');
}

TEST_F(ConnectionThreadTest, ARangeChangeDropsThatFrameAndTheNext) {
  // The first frame on range 1 is a change from the remembered range 0.
  Start("ranges = 1");
  ASSERT_TRUE(PumpUntil([&] { return host_.shows >= 1; }));
  Hold();
  EXPECT_EQ(simctl::Counter("requests_wave"), 3u + (host_.shows - 1));
  EXPECT_EQ(SignalRecord.range, 1);
}

TEST_F(ConnectionThreadTest, OneRequestedReadingLostToARangeChangeStillEndsTheRequest) {
  RunMode = kRunOneRequested;
  Start("ranges = 1");
  ASSERT_TRUE(PumpUntil([&] { return RunMode == kRunSingleWaiting; }));
  Hold();
  EXPECT_EQ(host_.shows, 0);
  EXPECT_EQ(simctl::Counter("requests_wave"), 2u);
}

TEST_F(ConnectionThreadTest, PausedOnlyRefreshesTheCalibration) {
  RunMode = kRunPaused;
  Start("");
  ASSERT_TRUE(PumpUntil([&] { return simctl::Counter("requests_param") >= 5; }));
  Hold();
  EXPECT_EQ(simctl::Counter("requests_wave"), 0u);
  EXPECT_EQ(host_.shows, 0);
  EXPECT_NE(SignalRecord.kalibr[0].DC, 0);
}

TEST_F(ConnectionThreadTest, MemorySlotsAreFetchedInTurnAndContinueWhereTheyStopped) {
  SourceMode = kSourceMemory;
  RunMode = kRunPaused;  // the memory branch runs whatever the run mode
  host_.slot = 4;
  Start("");
  ASSERT_TRUE(PumpUntil([&] { return host_.shows >= 17; }));
  Hold();
  // Every waveform request names the next slot: D1, D2, ..., DF, D1, ...
  auto sent = simctl::Received();
  std::vector<uint8_t> slots;
  for (size_t i = 0; i + 5 <= sent.size(); i += 5) {
    if (sent[i + 3] != 0x19)
      slots.push_back(sent[i + 4]);
  }
  ASSERT_GE(slots.size(), 17u);
  for (size_t i = 0; i < slots.size(); ++i)
    EXPECT_EQ(slots[i], 0xD1 + i % 15) << i;
  EXPECT_EQ(host_.shown, &MemoryRecords[4]);
  EXPECT_EQ(host_.logPoints, 0);
  EXPECT_EQ(MemIndex, slots.size() % 15);
}

TEST_F(ConnectionThreadTest, SuspendedThreadMakesNoDriverCall) {
  Start("");
  ASSERT_TRUE(PumpUntil([&] { return host_.shows >= 1; }));
  Hold();
  uint32_t writes = simctl::Counter("FT_Write");
  for (int i = 0; i < 20; ++i) {
    os::WaitForSynchronize(5);
    os::CheckSynchronize();
  }
  EXPECT_EQ(simctl::Counter("FT_Write"), writes);
  thread_->Resume();
  int shows = host_.shows;
  ASSERT_TRUE(PumpUntil([&] { return host_.shows > shows; }));
}

TEST_F(ConnectionThreadTest, CommandLineRecordFileIsShownBeforeTheDriverLoads) {
  std::vector<unsigned char> image(kRecordSize, 0);
  image[68] = 12;  // log2N
  WriteWholeFile("saved.VRX470", image);
  SourceMode = kSourceLive;
  Start("", "saved.VRX470");
  ASSERT_TRUE(PumpUntil([&] { return !host_.calls.empty(); }));
  EXPECT_EQ(host_.calls, (std::vector<std::string>{"select file", "show file"}));
  EXPECT_EQ(SourceMode.load(), kSourceFile);
  // In file mode the thread polls nothing.
  ASSERT_TRUE(PumpUntil([&] { return UsbConnected == 1; }));
  EXPECT_EQ(simctl::Counter("requests_wave"), 0u);
}

TEST_F(ConnectionThreadTest, AMissingCommandLineFileIsReportedAndLiveGoesOn) {
  Start("", "absent.VRX470");
  ASSERT_TRUE(PumpUntil([&] { return host_.shows >= 1; }));
  EXPECT_EQ(host_.calls.front(), "file error");
  EXPECT_EQ(SourceMode.load(), kSourceLive);
}

TEST_F(ConnectionThreadTest, AnEmptyFirstArgumentIsAFileThatCannotBeOpened) {
  Start("", std::string());
  ASSERT_TRUE(PumpUntil([&] { return host_.shows >= 1; }));
  EXPECT_EQ(host_.calls.front(), "file error");
}

#if !defined(_WIN32)
TEST_F(ConnectionThreadTest, AMissingDriverIsReportedAndTheThreadEnds) {
  os::RegisterInProcessLibrary("ftd2xx.dll", nullptr);
  Start("");
  ASSERT_TRUE(PumpUntil([&] { return thread_->Finished(); }));
  EXPECT_EQ(host_.calls, std::vector<std::string>{"no driver"});
  VrxSim_RegisterInProcess();
}
#endif

}  // namespace

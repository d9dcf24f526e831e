// The connection thread against the simulated instrument, with the main thread's side pumped by
// the test.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "chip_queue.h"
#include "clock.h"
#include "connection_hold.h"
#include "connection_thread.h"
#include "deadline.h"
#include "ft_transport.h"
#include "library.h"
#include "main_thread_pump.h"
#include "records.h"
#include "sim_control.h"
#include "temp_dir.h"

namespace {

using namespace std::chrono_literals;

// Once the instrument is open, pauses never run out: only what they wait for (a hold, a change
// of source) ends them. The no-limit waits among them are counted.
std::atomic<int> endlessWaits{0};
bool EndlessPause(std::condition_variable& changed, std::unique_lock<std::mutex>& lock, uint32_t ms,
                  const std::function<bool()>& ended) {
  if (UsbConnected == 0)
    return changed.wait_for(lock, std::chrono::milliseconds(ms), ended);
  if (ms == os::kNoTimeLimit)
    ++endlessWaits;
  changed.wait(lock, ended);
  return true;
}

// Sleeps as long as the pauses of the link, which must never be plain sleeps, are counted.
std::atomic<int> longSleeps{0};
void CountLongSleeps(uint32_t ms) {
  if (ms >= kReopenPauseMs)
    ++longSleeps;
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

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
    if (onShow)
      onShow();
  }
  void AddLogPoint(const TMeasRecord&) override { ++logPoints; }
  void SetCycleTimeText(const std::string& text) override { cycleText = text; }
  int SelectedMemorySlot() override { return slot; }
  void ReportMissingDriver() override { calls.push_back("no driver"); }

  std::vector<std::string> calls;
  std::function<void()> onShow;
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
    // What a test's callback refers to has gone with the test's body.
    host_.onShow = nullptr;
    if (thread_) {
      // Held first, so that no pause stands in a test's seam when the real ones come back, and an
      // instrument that was made silent or refusing answers again, so the pass can end.
      thread_->Suspend();
      EndOrAbort(HeldWithin(), "the hold at the end of the test");
      os::SetPauseWait(nullptr);
      os::SetSleepFunction(nullptr);
      simctl::Configure("");
      while (thread_->SuspendCount() > 0)
        thread_->Resume();
      thread_->Terminate();
      EndOrAbort(PumpUntil([this] { return thread_->Finished(); }, "the thread's end"),
                 "the thread's end");
      delete thread_;
      FtConnectThread = nullptr;
    }
    SourceMode = kSourceLive;
    RunMode = kRunContinuous;
  }
  // A thread that cannot be held or ended would run on into the next test.
  static void EndOrAbort(const ::testing::AssertionResult& result, const char* what) {
    if (result)
      return;
    std::fprintf(stderr, "%s: %s\n", what, result.message());
    std::abort();
  }
  void Start(const char* scenario, std::optional<std::string> recordFile = std::nullopt) {
    ASSERT_TRUE(simctl::Configure(scenario));
    thread_ = os::TThread::Create<classFtConnectThread>(false, host_, std::move(recordFile));
    FtConnectThread = thread_;
  }
  // Once a hold is asked for: whether the thread is held (or has ended) within the bound.
  ::testing::AssertionResult HeldWithin() {
    return PumpUntil([this] { return thread_->Held() || thread_->Finished(); },
                     "the thread to be held");
  }
  // Holds the thread at its safe point, so the records can be read.
  ::testing::AssertionResult Hold() {
    thread_->Suspend();
    return HeldWithin();
  }
  // The link's pauses never run out, and none may be a plain sleep.
  void MakePausesEndless() {
    endlessWaits = 0;
    longSleeps = 0;
    os::SetPauseWait(&EndlessPause);
    os::SetSleepFunction(&CountLongSleeps);
  }

  FakeHost host_;
  classFtConnectThread* thread_ = nullptr;
  TempDir dir_;
};

TEST_F(ConnectionThreadTest, LiveReadingsAreShownAndLogged) {
  Start("");
  ASSERT_TRUE(PumpUntil([&] { return host_.logPoints >= 3; }, "three log points"));
  ASSERT_TRUE(Hold());
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
  ASSERT_TRUE(PumpUntil([&] { return host_.shows >= 1; }, "a reading shown"));
  ASSERT_TRUE(Hold());
  EXPECT_EQ(simctl::Counter("requests_wave"), 3u + (host_.shows - 1));
  EXPECT_EQ(SignalRecord.range, 1);
}

TEST_F(ConnectionThreadTest, OneRequestedReadingLostToARangeChangeStillEndsTheRequest) {
  RunMode = kRunOneRequested;
  Start("ranges = 1");
  ASSERT_TRUE(PumpUntil([&] { return RunMode == kRunSingleWaiting; }, "single mode waiting"));
  ASSERT_TRUE(Hold());
  EXPECT_EQ(host_.shows, 0);
  EXPECT_EQ(simctl::Counter("requests_wave"), 2u);
}

TEST_F(ConnectionThreadTest, PausedOnlyRefreshesTheCalibration) {
  RunMode = kRunPaused;
  Start("");
  ASSERT_TRUE(
      PumpUntil([&] { return simctl::Counter("requests_param") >= 5; }, "five parameter requests"));
  ASSERT_TRUE(Hold());
  EXPECT_EQ(simctl::Counter("requests_wave"), 0u);
  EXPECT_EQ(host_.shows, 0);
  EXPECT_NE(SignalRecord.kalibr[0].DC, 0);
}

TEST_F(ConnectionThreadTest, MemorySlotsAreFetchedInTurnAndContinueWhereTheyStopped) {
  SourceMode = kSourceMemory;
  RunMode = kRunPaused;  // the memory branch runs whatever the run mode
  host_.slot = 4;
  Start("");
  ASSERT_TRUE(PumpUntil([&] { return host_.shows >= 17; }, "17 memory readings"));
  ASSERT_TRUE(Hold());
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
  ASSERT_TRUE(PumpUntil([&] { return host_.shows >= 1; }, "a reading shown"));
  ASSERT_TRUE(Hold());
  uint32_t writes = simctl::Counter("FT_Write");
  for (int i = 0; i < 20; ++i) {
    os::WaitForSynchronize(5);
    os::CheckSynchronize();
  }
  EXPECT_EQ(simctl::Counter("FT_Write"), writes);
  thread_->Resume();
  int shows = host_.shows;
  ASSERT_TRUE(PumpUntil([&] { return host_.shows > shows; }, "a reading after the resume"));
}

TEST_F(ConnectionThreadTest, CommandLineRecordFileIsShownBeforeTheDriverLoads) {
  std::vector<unsigned char> image(kRecordSize, 0);
  image[68] = 12;  // log2N
  WriteWholeFile("saved.VRX470", image);
  SourceMode = kSourceLive;
  Start("", "saved.VRX470");
  ASSERT_TRUE(PumpUntil([&] { return !host_.calls.empty(); }, "the record file"));
  EXPECT_EQ(host_.calls, (std::vector<std::string>{"select file", "show file"}));
  EXPECT_EQ(SourceMode.load(), kSourceFile);
  // In file mode the thread polls nothing.
  ASSERT_TRUE(PumpUntil([&] { return UsbConnected == 1; }, "the instrument opened"));
  EXPECT_EQ(simctl::Counter("requests_wave"), 0u);
}

TEST_F(ConnectionThreadTest, AMissingCommandLineFileIsReportedAndLiveGoesOn) {
  Start("", "absent.VRX470");
  ASSERT_TRUE(PumpUntil([&] { return host_.shows >= 1; }, "a reading shown"));
  EXPECT_EQ(host_.calls.front(), "file error");
  EXPECT_EQ(SourceMode.load(), kSourceLive);
}

TEST_F(ConnectionThreadTest, AnEmptyFirstArgumentIsAFileThatCannotBeOpened) {
  Start("", std::string());
  ASSERT_TRUE(PumpUntil([&] { return host_.shows >= 1; }, "a reading shown"));
  EXPECT_EQ(host_.calls.front(), "file error");
}

TEST_F(ConnectionThreadTest, AHoldRunsTheCallTheThreadWaitsFor) {
  Start("");
  ASSERT_TRUE(PumpUntil([&] { return host_.shows >= 1; }, "a reading shown"));
  // Nobody runs the main thread's side now: the thread comes to wait for its next reading to be
  // shown, and only the hold itself can run that call.
  ASSERT_TRUE(os::WaitForSynchronize(20000)) << "no reading handed over within 20 s";
  const int shows = host_.shows;
  {
    Deadline deadline("HoldConnectionThread", 20s);
    EXPECT_EQ(HoldConnectionThread(), ConnectionHold::kHeld);
  }
  EXPECT_GT(host_.shows, shows);
  EXPECT_TRUE(thread_->Held());
  ReleaseConnectionThread();
  const int resumed = host_.shows;
  ASSERT_TRUE(PumpUntil([&] { return host_.shows > resumed; }, "a reading after the release"));
}

TEST_F(ConnectionThreadTest, AHoldAskedInsideTheThreadsOwnCallIsRefused) {
  std::optional<ConnectionHold> inside;
  host_.onShow = [&] {
    if (inside)
      return;
    Deadline deadline("HoldConnectionThread inside a synchronised call", 20s);
    inside = HoldConnectionThread();
  };
  Start("");
  ASSERT_TRUE(PumpUntil([&] { return host_.shows >= 2; }, "two readings shown"));
  EXPECT_EQ(inside, ConnectionHold::kRefused);
  EXPECT_EQ(thread_->SuspendCount(), 0);
}

TEST_F(ConnectionThreadTest, AHoldEndsTheWaitsOfASilentInstrument) {
  MakePausesEndless();
  Start("silent = 1");
  ASSERT_TRUE(PumpUntil([] { return simctl::Counter("FT_Read") >= 1; }, "a read"));
  // The read came back empty and the thread now pauses before it asks again, in a pause that
  // never runs out.
  ASSERT_TRUE(Hold());
  EXPECT_EQ(simctl::Counter("requests_param"), 1u);
  EXPECT_EQ(simctl::Counter("FT_Read"), 1u);
  EXPECT_EQ(longSleeps, 0);
}

TEST_F(ConnectionThreadTest, AHoldAtAnyMomentLeavesNothingInTheChip) {
  // At the line rate, as the chip and its driver deliver: whole USB transfers, and the rest of a
  // reply once the latency timer has run out. The holds land at random moments of a cycle.
  struct Case {
    const char* scenario;
    uint8_t source;
    int holds;
    int cycleMs;
  };
  const Case cases[] = {
      {"rate = real", kSourceLive, 40, 120},
      {"rate = real", kSourceMemory, 20, 370},
      {"rate = real\nreply_delay_ms = 20", kSourceLive, 25, 160},
      {"rate = real\nreply_delay_ms = 60", kSourceLive, 25, 240},
  };
  std::mt19937 random(470);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scenario + std::string(c.source == kSourceMemory ? ", memory" : ", live"));
    TearDown();
    SetUp();
    SourceMode = c.source;
    const int shows = host_.shows;
    Start(c.scenario);
    ASSERT_TRUE(PumpUntil([&] { return host_.shows > shows; }, "a first reading"));
    std::uniform_int_distribution<int> moment(0, c.cycleMs);
    for (int hold = 0; hold < c.holds; ++hold) {
      PumpFor(std::chrono::milliseconds(moment(random)));
      ASSERT_TRUE(Hold()) << "hold " << hold;
      EXPECT_TRUE(NothingLeftInTheChip()) << "hold " << hold;
      thread_->Resume();
    }
  }
}

TEST_F(ConnectionThreadTest, AWriteThatKeepsFailingOnAGoodLinkCanBeHeld) {
  Start("refuse_writes = 4294967295");
  ASSERT_TRUE(PumpUntil([] { return simctl::Counter("failed_writes") >= 100; }, "failed writes"));
  ASSERT_TRUE(Hold());
  const uint32_t writes = simctl::Counter("FT_Write");
  PumpFor(30ms);
  EXPECT_EQ(simctl::Counter("FT_Write"), writes);
}

TEST_F(ConnectionThreadTest, ARequestMadeDuringAnotherPassIsTakenByTheNext) {
  // The user chooses single mode and asks for a reading while a continuous one is shown.
  host_.onShow = [&] {
    if (host_.shows == 1)
      RunMode = kRunOneRequested;
  };
  Start("");
  ASSERT_TRUE(PumpUntil([] { return RunMode == kRunSingleWaiting; }, "single mode waiting"));
  EXPECT_EQ(host_.shows, 2);
}

TEST_F(ConnectionThreadTest, WithAFileShownTheThreadWaitsForAChangeOfSource) {
  MakePausesEndless();
  SourceMode = kSourceFile;
  Start("");
  ASSERT_TRUE(PumpUntil([] { return endlessWaits >= 1; }, "the thread to wait"));
  // A hold ends the wait, and after it the thread waits again.
  ASSERT_TRUE(Hold());
  thread_->Resume();
  ASSERT_TRUE(PumpUntil([] { return endlessWaits >= 2; }, "the thread to wait again"));
  PumpFor(20ms);
  EXPECT_EQ(endlessWaits, 2);
  EXPECT_EQ(simctl::Counter("requests_param"), 0u);
  SourceMode = kSourceLive;
  ASSERT_TRUE(PumpUntil([&] { return host_.shows >= 1; }, "a live reading"));
  EXPECT_EQ(endlessWaits, 2);
}

#if !defined(_WIN32)
TEST_F(ConnectionThreadTest, AMissingDriverIsReportedAndTheThreadEnds) {
  os::RegisterInProcessLibrary("ftd2xx.dll", nullptr);
  Start("");
  ASSERT_TRUE(PumpUntil([&] { return thread_->Finished(); }, "the thread's end"));
  EXPECT_EQ(host_.calls, std::vector<std::string>{"no driver"});
  // A utility holds an ended thread at once, and learns that it may make no driver call.
  EXPECT_EQ(HoldConnectionThread(), ConnectionHold::kHeldWithoutDriver);
  ReleaseConnectionThread();
  VrxSim_RegisterInProcess();
}
#endif

}  // namespace

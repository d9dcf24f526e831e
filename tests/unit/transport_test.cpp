// The transport and the requests against the simulated instrument: natively the simulator is
// linked in, under Wine it is the ftd2xx.dll the program loads.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "chip_queue.h"
#include "clock.h"
#include "folders.h"
#include "ft_transport.h"
#include "library.h"
#include "records.h"
#include "requests.h"
#include "sim_control.h"
#include "temp_dir.h"
#include "usb_log.h"

namespace {

// Pauses are recorded instead of slept; a test may act at the n-th pause (plug the instrument,
// or more).
std::vector<uint32_t> pauses;
size_t plugAtPause = 0;
std::function<void()> atEveryPause;

void RecordPause(uint32_t ms) {
  pauses.push_back(ms);
  if (plugAtPause != 0 && pauses.size() == plugAtPause)
    simctl::SetAttached(true);
  if (atEveryPause)
    atEveryPause();
}

std::string LogText() {
  auto bytes = ReadWholeFile(kUsbLogFileName);
  return std::string(bytes.begin(), bytes.end());
}

class LinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    simctl::UseSimulator();
    ResetFtTransportForTests();
    pauses.clear();
    plugAtPause = 0;
    atEveryPause = nullptr;
    previousSleep_ = os::SetSleepFunction(&RecordPause);
    SetUsbLogFolder(os::CurrentFolder());
  }
  void TearDown() override {
    os::SetSleepFunction(previousSleep_);
    SetLinkContext(nullptr);
    SetUsbLogFolder("");
    ServiceMode = 0;
  }
  // Loads the driver against a simulator set up by `scenario`, then forgets the set-up pauses.
  void Start(const char* scenario) {
    ASSERT_TRUE(simctl::Configure(scenario)) << scenario;
    ASSERT_EQ(LoadFtDriver(), 1);
  }
  void Connect() {
    FtConnect();
    pauses.clear();
  }
  // Logging on, with an empty log.
  void LogTraffic() {
    ServiceMode = 1;
    WriteWholeFile(kUsbLogFileName, {});
  }

  TempDir dir_;
  os::SleepFunction previousSleep_ = nullptr;
};

TEST_F(LinkTest, FirstConnectOpensAndConfigures) {
  Start("");
  EXPECT_EQ(FtHandle, nullptr);
  EXPECT_EQ(UsbConnected.load(), 0);
  FtConnect();
  EXPECT_NE(FtHandle, nullptr);
  EXPECT_EQ(UsbConnected.load(), 1);
  EXPECT_EQ(FtLinkStatus(), 0u);
  EXPECT_EQ(pauses, std::vector<uint32_t>{kReopenPauseMs});
  EXPECT_EQ(simctl::Counter("FT_OpenEx"), 1u);
  EXPECT_EQ(simctl::Counter("FT_SetBaudRate"), 1u);
}

TEST_F(LinkTest, AGoodLinkIsLeftAlone) {
  Start("");
  Connect();
  FT_HANDLE before = FtHandle;
  UsbConnected = 0;  // a good link is not even marked connected again
  FtConnect();
  EXPECT_EQ(FtHandle, before);
  EXPECT_EQ(UsbConnected.load(), 0);
  EXPECT_TRUE(pauses.empty());
  EXPECT_EQ(simctl::Counter("FT_Close"), 1u);  // the close of the never-opened handle at start
  EXPECT_EQ(simctl::Counter("FT_OpenEx"), 1u);
  EXPECT_EQ(simctl::Counter("FT_SetBaudRate"), 1u);
}

TEST_F(LinkTest, WaitsForTheInstrumentEvery100Ms) {
  Start("attached = 0");
  plugAtPause = 4;
  FtConnect();
  EXPECT_EQ(pauses, (std::vector<uint32_t>{100, 100, 100, 100}));
  EXPECT_EQ(UsbConnected.load(), 1);
  EXPECT_EQ(FtLinkStatus(), 0u);
}

TEST_F(LinkTest, ALinkOpenedElsewhereDuringTheReopenPauseIsKept) {
  Start("attached = 0");
  // While this FtConnect pauses (a thread held there), the instrument comes back and another
  // thread's FtConnect opens it: the firmware update's.
  atEveryPause = [] {
    if (pauses.size() == 2) {
      simctl::SetAttached(true);
      FtConnect();
    }
    // Without the test of the link after the pause the open would be refused for ever: free the
    // instrument after a while so that the test ends.
    if (pauses.size() == 50)
      FtDriver.Close(FtHandle);
  };
  FtConnect();
  // Two pauses of this FtConnect and one of the other thread's; one open tried while the
  // instrument was away, and the other thread's.
  EXPECT_EQ(pauses, (std::vector<uint32_t>{100, 100, 100}));
  EXPECT_EQ(simctl::Counter("FT_OpenEx"), 2u);
  EXPECT_EQ(simctl::Counter("FT_SetBaudRate"), 1u);
  EXPECT_EQ(FtLinkStatus(), 0u);
  EXPECT_EQ(UsbConnected.load(), 1);
}

TEST_F(LinkTest, ARefusedBaudRateReopensUntilTheLinkIsSet) {
  Start("refuse_baud = 2");
  FtConnect();
  // Each refusal closes and reopens; the link counts as connected only once it is configured.
  EXPECT_EQ(simctl::Counter("FT_OpenEx"), 3u);
  EXPECT_EQ(simctl::Counter("FT_SetBaudRate"), 3u);
  EXPECT_EQ(pauses, (std::vector<uint32_t>{100, 100, 100}));
  EXPECT_EQ(UsbConnected.load(), 1);
  // And the instrument understands what follows.
  pauses.clear();
  auto record = std::make_unique<TMeasRecord>();
  ReadKalibr(record.get());
  EXPECT_TRUE(pauses.empty());
  EXPECT_EQ(simctl::Counter("bytes_garbled"), 0u);
}

TEST_F(LinkTest, UnplugDuringAWriteResendsOnlyTheFailedByte) {
  Start("unplug_at_byte = 3");
  Connect();
  LogTraffic();
  plugAtPause = 2;
  const uint8_t request[] = {0x42, 0x00, 0x00, 0x19, 0x19};
  FtWriteBytes(request, 5);
  EXPECT_EQ(simctl::Received(), std::vector<uint8_t>(request, request + 5));
  EXPECT_EQ(pauses, (std::vector<uint32_t>{100, 100}));
  EXPECT_EQ(UsbConnected.load(), 1);
  EXPECT_EQ(LogText(), "OUT[5]: 42 00 00 19 19 \n");
}

TEST_F(LinkTest, ReadsLogWhatCameAndNothingOnError) {
  Start("short_replies = 1\nshort_by = 95");
  Connect();
  LogTraffic();
  uint8_t request[kRequestLength];
  BuildParameterRequest(request);
  uint8_t reply[kParameterReplyLength];
  EXPECT_EQ(FtTransaction(request, kRequestLength, reply, kParameterReplyLength), 3);
  std::string log = LogText();
  EXPECT_EQ(log.substr(0, 25), "OUT[5]: 42 00 00 19 19 \nI");
  EXPECT_EQ(log.substr(24, 7), "IN[3]: ");
  EXPECT_EQ(log.size(), 24u + 7u + 9u + 1u);

  // Unplugged: the read fails, returns 0 and leaves no line.
  simctl::SetAttached(false);
  WriteWholeFile(kUsbLogFileName, {});
  EXPECT_EQ(FtReadBytes(reply, kParameterReplyLength), 0);
  EXPECT_EQ(LogText(), "");
}

TEST_F(LinkTest, AFullParameterReplyIsOneInLineOf98Pairs) {
  Start("");
  Connect();
  LogTraffic();
  ReadKalibr(&SignalRecord);
  std::string log = LogText();
  auto in = log.find("IN[98]: ");
  ASSERT_NE(in, std::string::npos);
  EXPECT_EQ(log.size() - in, 8u + 98u * 3u + 1u);
}

TEST_F(LinkTest, ReadKalibrResendsAfter700MsUntilAWholeReply) {
  Start("short_replies = 2");
  Connect();
  auto record = std::make_unique<TMeasRecord>();
  EXPECT_EQ(ReadKalibr(record.get()), 0);
  EXPECT_EQ(pauses, (std::vector<uint32_t>{700, 700}));
  EXPECT_EQ(simctl::Counter("requests_param"), 3u);
  // The simulator's calibration is plausible: gains set, breakpoints rising.
  EXPECT_NE(record->kalibr[0].DC, 0);
  EXPECT_LT(record->kalibr[0].X[0], record->kalibr[0].X[1]);
  EXPECT_EQ(record->kalibr[1].X[3], 0);
  EXPECT_EQ(record->kalibr[1].A[4], 0);
}

struct FrameCase {
  const char* scenario;
  int32_t log2N;
  uint8_t slot;
  std::vector<uint32_t> pauses;
};

TEST_F(LinkTest, ReadSignalFetchesWholeFramesOnly) {
  const FrameCase cases[] = {
      {"", 12, 0, {}},
      {"", 14, 15, {}},
      {"short_replies = 1", 12, 0, {100}},
      {"long_replies = 2\nlong_by = 7", 12, 0, {}},
      {"short_replies = 3\nshort_by = 8194", 14, 3, {100, 100, 100}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scenario);
    Start(c.scenario);
    Connect();
    auto record = std::make_unique<TMeasRecord>();
    record->log2N = c.log2N;
    const int n = 1 << c.log2N;
    if (n < kMaxSamples)
      record->samples[n] = 777;
    EXPECT_EQ(ReadSignal(record.get(), c.slot), 0);
    EXPECT_EQ(pauses, c.pauses);
    EXPECT_EQ(record->clockDivider, 3125);
    // A real frame is not flat, and nothing beyond N samples is touched.
    int distinct = 0;
    for (int i = 1; i < n; ++i)
      distinct += record->samples[i] != record->samples[0];
    EXPECT_GT(distinct, n / 2);
    if (n < kMaxSamples) {
      EXPECT_EQ(record->samples[n], 777);
    }
    auto sent = simctl::Received();
    ASSERT_GE(sent.size(), 5u);
    const uint8_t expected[] = {0x42, 0x00, 0x00, static_cast<uint8_t>(n >> 8),
                                static_cast<uint8_t>(0xD0 + c.slot)};
    EXPECT_EQ(std::memcmp(sent.data() + sent.size() - 5, expected, 5), 0);
  }
}

TEST_F(LinkTest, SurplusOfALongReplyIsPurgedBeforeTheNextRequest) {
  Start("long_replies = 1\nlong_by = 40");
  Connect();
  auto first = std::make_unique<TMeasRecord>();
  ReadKalibr(first.get());
  auto second = std::make_unique<TMeasRecord>();
  ReadKalibr(second.get());
  EXPECT_TRUE(pauses.empty());
  EXPECT_EQ(std::memcmp(first->kalibr, second->kalibr, sizeof first->kalibr), 0);
  EXPECT_EQ(first->zeroOffset, second->zeroOffset);
}

TEST_F(LinkTest, ABadLengthRecordSendsNothing) {
  Start("");
  Connect();
  auto record = std::make_unique<TMeasRecord>();
  record->log2N = 15;
  EXPECT_EQ(ReadSignal(record.get(), 0), 0);
  record->log2N = 0;
  EXPECT_EQ(ReadSignal(record.get(), 0), 0);
  EXPECT_EQ(simctl::Counter("requests_wave"), 0u);
}

// The calls as the driver received them: name, then the arguments, one line per call.
std::vector<std::pair<std::string, std::string>> TracedCalls(const std::string& path) {
  std::vector<std::pair<std::string, std::string>> calls;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) {
    // "name handle arguments -> status"
    const size_t name = line.find(' ');
    const size_t arguments = line.find(' ', name + 1);
    const size_t status = line.rfind(" -> ");
    calls.emplace_back(line.substr(0, name),
                       line.substr(arguments + 1, status - std::min(status, arguments + 1)));
  }
  return calls;
}

TEST_F(LinkTest, DriverCallsCarryTheLinkSettings) {
  Start("trace = trace.txt");
  FtConnect();
  auto record = std::make_unique<TMeasRecord>();
  record->log2N = 12;
  ReadKalibr(record.get());
  ReadSignal(record.get(), 0);
  ASSERT_TRUE(simctl::Configure(""));  // closes the trace
  std::map<std::string, std::vector<std::string>> arguments;
  for (const auto& call : TracedCalls("trace.txt"))
    arguments[call.first].push_back(call.second);
  const std::map<std::string, std::vector<std::string>> expected = {
      {"FT_OpenEx", {"flags=2 description=VRX-470"}},
      {"FT_SetBaudRate", {"baud=1000000"}},
      {"FT_SetDataCharacteristics", {"bits=8 stop=0 parity=0"}},
      {"FT_SetTimeouts", {"read=900 write=900"}},
      {"FT_SetResetPipeRetryCount", {"count=1500"}},
      // Both buffers emptied before each request, and each reply read to its length.
      {"FT_Purge", {"mask=3", "mask=3"}},
      {"FT_Read", {"len=98 got=98", "len=8194 got=8194"}},
  };
  for (const auto& call : expected)
    EXPECT_EQ(arguments[call.first], call.second) << call.first;
}

PFT_Read driverRead = nullptr;

// A driver that says it read more than it was asked for.
FT_STATUS FT_API OverstatingRead(FT_HANDLE handle, void* buffer, uint32_t length, uint32_t* got) {
  FT_STATUS status = driverRead(handle, buffer, length, got);
  *got = length + 7;
  return status;
}

TEST_F(LinkTest, ACountAboveWhatWasAskedForIsNeverReported) {
  Start("");
  Connect();
  LogTraffic();
  uint8_t request[kRequestLength];
  BuildParameterRequest(request);
  FtWriteBytes(request, kRequestLength);
  driverRead = FtDriver.Read;
  FtDriver.Read = &OverstatingRead;
  uint8_t reply[kParameterReplyLength + 7] = {};
  EXPECT_EQ(FtReadBytes(reply, kParameterReplyLength), kParameterReplyLength);
  std::string log = LogText();
  EXPECT_EQ(log.size() - log.find("IN[98]: "), 8u + 98u * 3u + 1u);
}

// The link's side of a thread that may be held: its pauses are written down, not waited.
class RecordingContext : public LinkContext {
 public:
  void SafePoint() override { ++safePoints; }
  void Wait(uint32_t ms) override { waits.push_back(ms); }

  std::vector<uint32_t> waits;
  int safePoints = 0;
};

PFT_GetStatus driverStatus = nullptr;

// A driver, or whatever stands in its place, that reports a good status and no counts.
FT_STATUS FT_API CountlessStatus(FT_HANDLE handle, uint32_t*, uint32_t*, uint32_t*) {
  uint32_t received = 0, transmit = 0, events = 0;
  return driverStatus(handle, &received, &transmit, &events);
}

TEST_F(LinkTest, OnAThreadThatMayBeHeldAReplyIsStillOneDriverRead) {
  struct Case {
    const char* scenario;
    bool countlessStatus;
    int32_t returned;
  };
  const Case cases[] = {
      {"", false, kParameterReplyLength},
      // The receive count of the status query plays no part in a reading.
      {"", true, kParameterReplyLength},
      // A silent instrument: the read waits out its time-out inside the driver.
      {"silent = 1", false, 0},
      // A short reply: the read takes what came.
      {"short_replies = 1\nshort_by = 95", false, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scenario);
    Start(c.scenario);
    Connect();
    if (c.countlessStatus) {
      driverStatus = FtDriver.GetStatus;
      FtDriver.GetStatus = &CountlessStatus;
    }
    RecordingContext context;
    SetLinkContext(&context);
    uint8_t request[kRequestLength];
    BuildParameterRequest(request);
    uint8_t reply[kParameterReplyLength];
    const uint32_t statusQueries = simctl::Counter("FT_GetStatus");
    EXPECT_EQ(FtTransaction(request, kRequestLength, reply, kParameterReplyLength), c.returned);
    SetLinkContext(nullptr);
    EXPECT_EQ(simctl::Counter("FT_Read"), 1u);
    EXPECT_EQ(simctl::Counter("FT_GetStatus"), statusQueries);
    EXPECT_TRUE(context.waits.empty());
    EXPECT_TRUE(pauses.empty());
  }
}

TEST_F(LinkTest, AHoldStopsBeforeARequestAndNeverCutsAReplyOnItsWay) {
  // At the line rate, received bytes reach the PC in whole USB transfers and the rest of a reply
  // once the chip's latency timer has run out; the instrument may begin its answer late.
  struct Case {
    const char* scenario;
    int32_t log2N;
  };
  const Case cases[] = {
      {"rate = real", 12},
      {"rate = real\nreply_delay_ms = 20", 12},
      {"rate = real\nreply_delay_ms = 60", 12},
      {"rate = real", 14},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scenario);
    Start(c.scenario);
    Connect();
    RecordingContext context;
    SetLinkContext(&context);
    uint8_t request[kRequestLength];
    BuildWaveformRequest(request, c.log2N, 0);
    const int32_t length = WaveformReplyLength(c.log2N);
    std::vector<uint8_t> reply(length);
    EXPECT_EQ(FtTransaction(request, kRequestLength, reply.data(), length), length);
    SetLinkContext(nullptr);
    EXPECT_EQ(context.safePoints, 1) << "no safe point before the request";
    EXPECT_TRUE(NothingLeftInTheChip());
  }
}

TEST_F(LinkTest, AWriteThatFailsOnAGoodLinkIsResentPastASafePoint) {
  Start("refuse_writes = 3");
  Connect();
  RecordingContext context;
  SetLinkContext(&context);
  const uint8_t request[] = {0x42, 0x00, 0x00, 0x19, 0x19};
  FtWriteBytes(request, 5);
  SetLinkContext(nullptr);
  EXPECT_EQ(simctl::Received(), std::vector<uint8_t>(request, request + 5));
  // At once each time: no pause, no reopening.
  EXPECT_EQ(context.safePoints, 3);
  EXPECT_TRUE(context.waits.empty());
  EXPECT_TRUE(pauses.empty());
  EXPECT_EQ(simctl::Counter("FT_OpenEx"), 1u);
}

#if !defined(_WIN32)
// Which names a library must export: every name but FT_IoCtl, also those never called.
TEST_F(LinkTest, DriverLoadsOnlyWithEveryNameButIoCtl) {
  for (const char* name : kFtEntryPointNames) {
    SCOPED_TRACE(name);
    ResetFtTransportForTests();
    VrxSim_RegisterInProcessWithout({name});
    EXPECT_EQ(LoadFtDriver(), std::string(name) == "FT_IoCtl" ? 1 : 0);
    EXPECT_EQ(FtDriverLoaded(), std::string(name) == "FT_IoCtl");
  }
  ResetFtTransportForTests();
  os::RegisterInProcessLibrary("ftd2xx.dll", nullptr);
  EXPECT_EQ(LoadFtDriver(), 0);
  // Without a driver nothing is called and nothing blocks.
  FtConnect();
  EXPECT_EQ(FtReadBytes(nullptr, 1), 0);
  EXPECT_NE(FtLinkStatus(), 0u);
  VrxSim_RegisterInProcess();
}
#endif

}  // namespace

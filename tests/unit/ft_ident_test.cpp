// Writing the USB identity into the simulated chips: the memo lines, the chips' EEPROM images
// before and after, and the driver calls each failure leaves. Natively the simulator is linked
// in; under Wine the record travels through the simulator's ftd2xx.dll, as with the real driver.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "clock.h"
#include "eeprom_images.h"
#include "ft_ident.h"
#include "ft_transport.h"
#include "sim_control.h"
#include "temp_dir.h"

namespace {

class RecordedMemo : public FtIdentMemo {
 public:
  void FtIdentClear() override {
    ++clears;
    lines.clear();
  }
  void FtIdentAddLine(const char* text) override { lines.emplace_back(text); }

  int clears = 0;
  std::vector<std::string> lines;
};

using Lines = std::vector<std::string>;

Lines Header(int count) {
  return {"подключено " + std::to_string(count) + " устройств", ""};
}

// The lines of a run over chips whose outcomes are given: the header, then for each its number,
// its serial number (the instrument's chip first, then the simulator's plain FT232R chips), what
// happened and the separator.
Lines Chips(const std::vector<Lines>& outcomes) {
  Lines lines = Header(static_cast<int>(outcomes.size()));
  for (std::size_t k = 0; k < outcomes.size(); ++k) {
    lines.push_back("устройство номер " + std::to_string(k) + ":");
    lines.push_back(k == 0 ? "SerialNumber=VRX47001" : "SerialNumber=FTSIM00" + std::to_string(k));
    lines.insert(lines.end(), outcomes[k].begin(), outcomes[k].end());
    lines.push_back("  ");
  }
  return lines;
}

const std::string kProgrammed = "устройство VRX-470 прошито успешно";
const std::string kBusy = "устройство занято";
const std::string kOpenFailed = "Ошибка FT_OpenEx()";
const std::string kReadFailed = "Ошибка  FT_EE_Read()";

void NoSleep(uint32_t) {}

// The driver's own walk of the device list may report another count than it was asked for.
PFT_GetDeviceInfoList realGetDeviceInfoList = nullptr;
int countShift = 0;
FT_STATUS FT_API ShiftedGetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* list, uint32_t* count) {
  FT_STATUS status = realGetDeviceInfoList(list, count);
  *count = static_cast<uint32_t>(static_cast<int>(*count) + countShift);
  return status;
}

// The header of every record the routine hands the driver to read or to program: signatures
// and version tell the driver how much of the record the caller passes.
using RecordHeader = std::tuple<uint32_t, uint32_t, uint32_t>;
const RecordHeader kVersion2Header{0, 0xFFFFFFFFu, 2};
std::vector<RecordHeader> headersPassed;
PFT_EE_Read realEeRead = nullptr;
PFT_EE_Program realEeProgram = nullptr;
RecordHeader HeaderOf(const FT_PROGRAM_DATA* data) {
  return {data->Signature1, data->Signature2, data->Version};
}
FT_STATUS FT_API NotedEeRead(FT_HANDLE handle, FT_PROGRAM_DATA* data) {
  headersPassed.push_back(HeaderOf(data));
  return realEeRead(handle, data);
}
FT_STATUS FT_API NotedEeProgram(FT_HANDLE handle, FT_PROGRAM_DATA* data) {
  headersPassed.push_back(HeaderOf(data));
  return realEeProgram(handle, data);
}

class FtIdentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    simctl::UseSimulator();
    ResetFtTransportForTests();
    previousSleep_ = os::SetSleepFunction(&NoSleep);
  }
  void TearDown() override {
    os::SetSleepFunction(previousSleep_);
    ResetFtTransportForTests();
  }
  // Configures the chips, notes their images, loads the driver and, when the instrument is there
  // to be found, opens the link as the connection thread would have.
  void Start(const std::string& scenario, bool connect = true) {
    ASSERT_TRUE(simctl::Configure((scenario + "\neeprom_file = " + imageFile_ + "\n").c_str()))
        << scenario;
    before_ = Images();
    ASSERT_EQ(LoadFtDriver(), 1);
    headersPassed.clear();
    realEeRead = FtDriver.EE_Read;
    realEeProgram = FtDriver.EE_Program;
    FtDriver.EE_Read = &NotedEeRead;
    FtDriver.EE_Program = &NotedEeProgram;
    if (connect) {
      FtConnect();
      ASSERT_EQ(FtLinkStatus(), FT_OK);
    }
  }
  std::vector<ChipImage> Images() const { return ReadEepromImages(imageFile_); }
  // Runs the routine once and returns how often each driver call came meanwhile.
  std::vector<uint32_t> Run(const std::vector<const char*>& calls) {
    std::vector<uint32_t> counts;
    for (const char* call : calls)
      counts.push_back(simctl::Counter(call));
    FtProgramIdent(memo_);
    for (size_t i = 0; i < calls.size(); ++i)
      counts[i] = simctl::Counter(calls[i]) - counts[i];
    return counts;
  }
  // Every chip marked true carries the identity and kept the rest; the others are untouched.
  void ExpectImages(const std::vector<bool>& programmed, const std::string& name) {
    const std::vector<ChipImage> after = Images();
    ASSERT_EQ(after.size(), programmed.size()) << name;
    ASSERT_EQ(before_.size(), programmed.size()) << name;
    for (size_t k = 0; k < after.size(); ++k) {
      if (programmed[k]) {
        EXPECT_EQ(IdentityProblems(before_[k], after[k]), "") << name << ", chip " << k;
      } else {
        EXPECT_EQ(after[k].fields, before_[k].fields) << name << ", chip " << k;
        EXPECT_EQ(after[k].manufacturer, before_[k].manufacturer) << name << ", chip " << k;
        EXPECT_EQ(after[k].description, before_[k].description) << name << ", chip " << k;
      }
    }
  }

  TempDir dir_;
  std::string imageFile_ = dir_.File("eeprom.txt");
  std::vector<ChipImage> before_;
  RecordedMemo memo_;
  os::SleepFunction previousSleep_ = nullptr;
};

TEST_F(FtIdentTest, EachChipByTheSituationsOfItsList) {
  struct Row {
    const char* name;
    const char* scenario;
    Lines lines;
    std::vector<bool> programmed;
    uint32_t cycles;  // each chip cycled is closed too, after the link's own close
    bool connect = true;
  };
  const Lines kTwoProgrammed = Chips({{kProgrammed}, {kProgrammed}});
  const Row rows[] = {
      {"two chips", "devices = 2", kTwoProgrammed, {true, true}, 2},
      {"a busy chip that opens",
       "devices = 2\nbusy = 1\nbusy_opens = 1",
       Chips({{kProgrammed}, {kBusy, kProgrammed}}),
       {true, true},
       2},
      {"a busy chip that refuses the open",
       "devices = 2\nbusy = 1",
       Chips({{kProgrammed}, {kBusy, kOpenFailed}}),
       {true, false},
       1},
      {"an open refused, and the next chip still done",
       "devices = 3\nrefuse_open = 1",
       Chips({{kProgrammed}, {kOpenFailed}, {kProgrammed}}),
       {true, false, true},
       2},
      {"a configuration that cannot be read",
       "devices = 2\nee_read_fails = 1",
       Chips({{kProgrammed}, {kReadFailed}}),
       {true, false},
       2},
      {"programming refused",
       "devices = 2\nee_program_fails = 0",
       Chips({{}, {kProgrammed}}),
       {false, true},
       2},
      {"no device list",
       "devices = 2\nlist_fails = 1",
       {"устройств не обнаружено!"},
       {false, false},
       0},
      {"the list not returned",
       "devices = 2\nlist_info_fails = 1",
       {"подключено 2 устройств", "", "FT_GetDeviceInfoList ERROR!"},
       {false, false},
       0},
      {"no chip attached", "attached = 0", Header(0), {false}, 0, false},
  };
  for (const Row& row : rows) {
    ResetFtTransportForTests();
    memo_ = RecordedMemo();
    Start(row.scenario, row.connect);
    const std::vector<uint32_t> counts = Run({"FT_CyclePort", "FT_Close"});
    EXPECT_EQ(memo_.clears, 1) << row.name;
    EXPECT_EQ(memo_.lines, row.lines) << row.name;
    ExpectImages(row.programmed, row.name);
    // Every chip that was opened had its configuration read.
    EXPECT_EQ(headersPassed.empty(), row.cycles == 0) << row.name;
    EXPECT_EQ(headersPassed, std::vector<RecordHeader>(headersPassed.size(), kVersion2Header))
        << row.name;
    EXPECT_EQ(counts[0], row.cycles) << row.name << ": port cycles";
    EXPECT_EQ(counts[1], row.cycles + 1) << row.name << ": closes";
    // The link is gone; nothing is left that a later call could use.
    EXPECT_EQ(FtHandle, nullptr) << row.name;
    EXPECT_NE(FtLinkStatus(), FT_OK) << row.name;
  }
}

TEST_F(FtIdentTest, APressAgainProgramsEveryChipAgainAndShowsOnlyItsOwnRun) {
  Start("devices = 2");
  FtProgramIdent(memo_);
  const std::vector<uint32_t> counts = Run({"FT_EE_Program", "FT_OpenEx"});
  EXPECT_EQ(memo_.clears, 2);
  EXPECT_EQ(memo_.lines, Chips({{kProgrammed}, {kProgrammed}}));
  EXPECT_EQ(counts, (std::vector<uint32_t>{2, 2}));
  ExpectImages({true, true}, "twice");
}

TEST_F(FtIdentTest, AFreshInstrumentIsFoundByItsNewDescription) {
  // Its chip still says what the factory wrote, so the link cannot find it yet.
  Start("description = FT232R USB UART\ndevices = 2", /*connect=*/false);
  FtProgramIdent(memo_);
  ExpectImages({true, true}, "fresh");
  const uint32_t opens = simctl::Counter("FT_OpenEx");
  FtConnect();
  EXPECT_EQ(FtLinkStatus(), FT_OK);
  EXPECT_EQ(UsbConnected, 1);
  EXPECT_EQ(simctl::Counter("FT_OpenEx"), opens + 1);
}

TEST_F(FtIdentTest, TheCountWrittenBackBoundsTheWalkWithinTheRoomGiven) {
  struct Row {
    int shift;
    int chipsWalked;
  };
  // One chip gone between the two calls; a driver claiming more than the list had room for.
  const Row rows[] = {{-1, 1}, {5, 2}};
  for (const Row& row : rows) {
    ResetFtTransportForTests();
    memo_ = RecordedMemo();
    Start("devices = 2");
    realGetDeviceInfoList = FtDriver.GetDeviceInfoList;
    countShift = row.shift;
    FtDriver.GetDeviceInfoList = &ShiftedGetDeviceInfoList;
    const std::vector<uint32_t> counts = Run({"FT_EE_Program"});
    EXPECT_EQ(counts[0], static_cast<uint32_t>(row.chipsWalked)) << row.shift;
    EXPECT_EQ(memo_.lines.size(), 2u + 4u * static_cast<size_t>(row.chipsWalked)) << row.shift;
  }
}

TEST_F(FtIdentTest, WithoutTheDriverLibraryItSaysSoAndCallsNothing) {
  ASSERT_TRUE(simctl::Configure("devices = 2"));
  memo_.FtIdentAddLine("a line of an earlier run");
  const std::vector<uint32_t> counts = Run({"FT_Close", "FT_CreateDeviceInfoList", "FT_OpenEx"});
  EXPECT_EQ(memo_.clears, 1);
  EXPECT_EQ(memo_.lines, (Lines{"Драйвер не найден!", "Переустановите драйвер устройства!"}));
  EXPECT_EQ(counts, (std::vector<uint32_t>{0, 0, 0}));
}

}  // namespace

// The simulated driver's devices: opening, handle status, plugging, device list, EEPROM,
// scenarios, the in-process library and concurrent use.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ft_entry_points.h"
#include "scenario.h"
#include "vrx_sim.h"
#if !defined(_WIN32)
#include "library.h"
#endif

namespace {

FT_HANDLE OpenByDescription(const char* text, FT_STATUS* status = nullptr) {
  FT_HANDLE handle = nullptr;
  FT_STATUS result = FT_OpenEx(const_cast<char*>(text), FT_OPEN_BY_DESCRIPTION, &handle);
  if (status)
    *status = result;
  return result == FT_OK ? handle : nullptr;
}

FT_STATUS Status(FT_HANDLE handle) {
  uint32_t rx = 0, tx = 0, events = 0;
  return FT_GetStatus(handle, &rx, &tx, &events);
}

FT_STATUS WriteByte(FT_HANDLE handle, uint8_t byte) {
  uint32_t written = 0;
  return FT_Write(handle, &byte, 1, &written);
}

FT_HANDLE OpenLink() {
  FT_HANDLE handle = OpenByDescription("VRX-470");
  EXPECT_NE(handle, nullptr);
  EXPECT_EQ(FT_SetBaudRate(handle, 1000000), FT_OK);
  EXPECT_EQ(FT_SetDataCharacteristics(handle, 8, 0, 0), FT_OK);
  return handle;
}

TEST(SimOpen, ByDescriptionLocationSerialAndIndex) {
  struct Case {
    const char* name;
    uint32_t flags;
    void* arg;
    FT_STATUS expect;
  };
  char exact[] = "VRX-470", prefix[] = "VRX-47", lower[] = "vrx-470", other[] = "FT232R USB UART";
  char serial[] = "VRX47001";
  const Case cases[] = {
      {"description", FT_OPEN_BY_DESCRIPTION, exact, FT_OK},
      {"prefix only", FT_OPEN_BY_DESCRIPTION, prefix, FT_DEVICE_NOT_FOUND},
      {"other case", FT_OPEN_BY_DESCRIPTION, lower, FT_DEVICE_NOT_FOUND},
      {"second chip", FT_OPEN_BY_DESCRIPTION, other, FT_OK},
      {"serial", FT_OPEN_BY_SERIAL_NUMBER, serial, FT_OK},
      {"location", FT_OPEN_BY_LOCATION, reinterpret_cast<void*>(uintptr_t{0x1012}), FT_OK},
      {"no location", FT_OPEN_BY_LOCATION, reinterpret_cast<void*>(uintptr_t{0x2000}),
       FT_DEVICE_NOT_FOUND},
      {"no text", FT_OPEN_BY_DESCRIPTION, nullptr, FT_INVALID_PARAMETER},
      {"unknown flag", 8, exact, FT_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(VrxSim_Configure("devices = 2\n"), 1);
    FT_HANDLE handle = nullptr;
    EXPECT_EQ(FT_OpenEx(c.arg, c.flags, &handle), c.expect) << c.name;
    EXPECT_EQ(handle != nullptr, c.expect == FT_OK) << c.name;
  }
  ASSERT_EQ(VrxSim_Configure("devices = 2\n"), 1);
  FT_HANDLE first = nullptr, second = nullptr, again = nullptr;
  EXPECT_EQ(FT_Open(1, &second), FT_OK);
  EXPECT_EQ(FT_Open(0, &first), FT_OK);
  EXPECT_EQ(FT_Open(2, &again), FT_DEVICE_NOT_FOUND);
  // A device that is open already refuses a second open until it is closed.
  EXPECT_EQ(FT_OpenEx(exact, FT_OPEN_BY_DESCRIPTION, &again), FT_DEVICE_NOT_OPENED);
  EXPECT_EQ(FT_Close(first), FT_OK);
  EXPECT_EQ(FT_OpenEx(exact, FT_OPEN_BY_DESCRIPTION, &again), FT_OK);
  EXPECT_NE(again, first);
}

TEST(SimOpen, BusyDevicesAndAbsentInstrument) {
  struct Case {
    const char* scenario;
    FT_STATUS expect;
  };
  const Case cases[] = {
      {"busy = 0\n", FT_DEVICE_NOT_OPENED},
      {"busy = 0\nbusy_opens = 1\n", FT_OK},
      {"attached = 0\n", FT_DEVICE_NOT_FOUND},
      {"attach_after_ms = 60000\n", FT_DEVICE_NOT_FOUND},
      {"description = FT232R USB UART\n", FT_DEVICE_NOT_FOUND},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(VrxSim_Configure(c.scenario), 1) << c.scenario;
    FT_STATUS status = FT_OK;
    OpenByDescription("VRX-470", &status);
    EXPECT_EQ(status, c.expect) << c.scenario;
  }
  // Plugging by hand cancels the pending delay.
  ASSERT_EQ(VrxSim_Configure("attach_after_ms = 60000\n"), 1);
  EXPECT_EQ(VrxSim_SetAttached(1), 1);
  EXPECT_NE(OpenByDescription("VRX-470"), nullptr);
}

TEST(SimStatus, OfNullUnknownClosedAndUnpluggedHandles) {
  ASSERT_EQ(VrxSim_Configure(""), 1);
  int notAHandle = 0;
  FT_HANDLE closed = OpenByDescription("VRX-470");
  ASSERT_EQ(FT_Close(closed), FT_OK);
  FT_HANDLE good = OpenByDescription("VRX-470");
  struct Case {
    const char* name;
    FT_HANDLE handle;
    FT_STATUS expect;
  };
  const Case cases[] = {
      {"null", nullptr, FT_INVALID_HANDLE},
      {"unknown", &notAHandle, FT_INVALID_HANDLE},
      {"closed", closed, FT_INVALID_HANDLE},
      {"open", good, FT_OK},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Status(c.handle), c.expect) << c.name;
  EXPECT_EQ(FT_Close(closed), FT_INVALID_HANDLE);

  // Pulled out: the handle fails with an I/O error, also after the device is back.
  EXPECT_EQ(VrxSim_SetAttached(0), 1);
  EXPECT_EQ(Status(good), FT_IO_ERROR);
  EXPECT_EQ(WriteByte(good, 0x42), FT_IO_ERROR);
  uint8_t buffer[4];
  uint32_t got = 7;
  EXPECT_EQ(FT_Read(good, buffer, 4, &got), FT_IO_ERROR);
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(VrxSim_SetAttached(1), 1);
  EXPECT_EQ(Status(good), FT_IO_ERROR);
  EXPECT_EQ(FT_Close(good), FT_OK);
  EXPECT_EQ(Status(OpenByDescription("VRX-470")), FT_OK);
  // A new configuration ends every handle of the old one.
  FT_HANDLE before = OpenByDescription("VRX-470");
  ASSERT_EQ(VrxSim_Configure(""), 1);
  EXPECT_EQ(Status(before), FT_INVALID_HANDLE);
}

TEST(SimPlugging, UnplugAtByteKAndReplug) {
  struct Case {
    uint32_t unplugAt;
    const char* replug;  // scenario line
    bool backAtOnce;
  };
  const Case cases[] = {
      {1, "replug_after_ms = 0\n", true},
      {3, "replug_after_ms = 0\n", true},
      {3, "", false},
      {3, "replug_after_ms = 60000\n", false},
  };
  for (const Case& c : cases) {
    std::string scenario = "unplug_at_byte = " + std::to_string(c.unplugAt) + "\n" + c.replug;
    ASSERT_EQ(VrxSim_Configure(scenario.c_str()), 1) << scenario;
    FT_HANDLE handle = OpenLink();
    const uint8_t request[5] = {0x42, 0, 0, 0x19, 0x19};
    uint32_t i = 0;
    for (; i < 5 && WriteByte(handle, request[i]) == FT_OK; ++i) {
    }
    EXPECT_EQ(i + 1, c.unplugAt) << scenario;
    EXPECT_EQ(Status(handle), FT_IO_ERROR) << scenario;
    EXPECT_EQ(VrxSim_Counter("failed_writes"), 1u);
    EXPECT_EQ(VrxSim_Received(nullptr, 0), c.unplugAt - 1) << scenario;
    FT_Close(handle);
    handle = OpenByDescription("VRX-470");
    EXPECT_EQ(handle != nullptr, c.backAtOnce) << scenario;
    if (!handle)
      continue;
    // The instrument restarted: the bytes before the loss are forgotten, the resent rest is noise
    // until a whole request comes, and the line needs setting again.
    EXPECT_EQ(FT_SetBaudRate(handle, 1000000), FT_OK);
    EXPECT_EQ(FT_SetDataCharacteristics(handle, 8, 0, 0), FT_OK);
    for (uint32_t k = c.unplugAt - 1; k < 5; ++k)
      WriteByte(handle, request[k]);
    uint32_t pending = 0;
    FT_GetQueueStatus(handle, &pending);
    EXPECT_EQ(pending, c.unplugAt == 1 ? 98u : 0u) << scenario;
  }
}

TEST(SimPlugging, ReplugAfterDelay) {
  ASSERT_EQ(VrxSim_Configure("unplug_at_byte = 1\nreplug_after_ms = 30\n"), 1);
  FT_HANDLE handle = OpenLink();
  EXPECT_EQ(WriteByte(handle, 0x42), FT_IO_ERROR);
  EXPECT_EQ(OpenByDescription("VRX-470"), nullptr);
  FT_HANDLE back = nullptr;
  for (int i = 0; i < 200 && !back; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    back = OpenByDescription("VRX-470");
  }
  EXPECT_NE(back, nullptr);
}

TEST(SimDeviceList, LayoutFlagsAndOrder) {
  ASSERT_EQ(VrxSim_Configure("devices = 3\nbusy = 2\nlocation = 0x2120\nserial = A1B2C3D4\n"), 1);
  FT_HANDLE open = OpenByDescription("VRX-470");
  uint32_t count = 0;
  ASSERT_EQ(FT_CreateDeviceInfoList(&count), FT_OK);
  ASSERT_EQ(count, 3u);
  std::vector<FT_DEVICE_LIST_INFO_NODE> list(count);
  ASSERT_EQ(FT_GetDeviceInfoList(list.data(), &count), FT_OK);
  ASSERT_EQ(count, 3u);
  struct Row {
    uint32_t flags;
    uint32_t location;
    const char* serial;
    const char* description;
    bool handle;
  };
  const Row rows[] = {
      {FT_FLAGS_OPENED, 0x2120, "A1B2C3D4", "VRX-470", true},
      {0, 0x2121, "FTSIM001", "FT232R USB UART", false},
      {FT_FLAGS_OPENED, 0x2122, "FTSIM002", "FT232R USB UART", false},
  };
  for (uint32_t i = 0; i < count; ++i) {
    EXPECT_EQ(list[i].Flags, rows[i].flags) << i;
    EXPECT_EQ(list[i].Type, FT_DEVICE_232R) << i;
    EXPECT_EQ(list[i].ID, 0x04036001u) << i;
    EXPECT_EQ(list[i].LocId, rows[i].location) << i;
    EXPECT_STREQ(list[i].SerialNumber, rows[i].serial) << i;
    EXPECT_STREQ(list[i].Description, rows[i].description) << i;
    EXPECT_EQ(list[i].ftHandle == open, rows[i].handle) << i;
  }
  // A device that arrives after the list was built does not overrun the caller's list.
  ASSERT_EQ(VrxSim_Configure("devices = 2\nattached = 0\n"), 1);
  ASSERT_EQ(FT_CreateDeviceInfoList(&count), FT_OK);
  ASSERT_EQ(count, 1u);
  VrxSim_SetAttached(1);
  FT_DEVICE_LIST_INFO_NODE one[1];
  ASSERT_EQ(FT_GetDeviceInfoList(one, &count), FT_OK);
  EXPECT_EQ(count, 1u);
  EXPECT_STREQ(one[0].SerialNumber, "FTSIM001");
  EXPECT_EQ(FT_GetDeviceInfoList(nullptr, &count), FT_INVALID_PARAMETER);
  EXPECT_EQ(FT_ListDevices(&count, nullptr, 0x80000000u), FT_OK);
  EXPECT_EQ(count, 2u);
}

TEST(SimEeprom, ProgramTakesEffectAfterPortCycle) {
  ASSERT_EQ(VrxSim_Configure("devices = 2\n"), 1);
  FT_HANDLE chip = nullptr;
  ASSERT_EQ(FT_OpenEx(reinterpret_cast<void*>(uintptr_t{0x1012}), FT_OPEN_BY_LOCATION, &chip),
            FT_OK);
  char manufacturer[32], manufacturerId[16], description[64], serial[16];
  FT_PROGRAM_DATA data{};
  data.Signature2 = 0xFFFFFFFFu;
  data.Version = 2;
  data.Manufacturer = manufacturer;
  data.ManufacturerId = manufacturerId;
  data.Description = description;
  data.SerialNumber = serial;
  ASSERT_EQ(FT_EE_Read(chip, &data), FT_OK);
  EXPECT_STREQ(description, "FT232R USB UART");
  EXPECT_EQ(data.VendorId, 0x0403);
  EXPECT_EQ(data.RIsD2XX, 0);
  std::strcpy(manufacturer, "halvorinkastel");
  std::strcpy(description, "VRX-470");
  data.RIsD2XX = 1;
  ASSERT_EQ(FT_EE_Program(chip, &data), FT_OK);
  ASSERT_EQ(FT_CyclePort(chip), FT_OK);
  EXPECT_EQ(Status(chip), FT_IO_ERROR);
  uint32_t count = 0;
  FT_CreateDeviceInfoList(&count);
  std::vector<FT_DEVICE_LIST_INFO_NODE> list(count);
  FT_GetDeviceInfoList(list.data(), &count);
  ASSERT_EQ(count, 2u);
  EXPECT_STREQ(list[1].Description, "VRX-470");
  // Too long a pair of strings, or a bad header, is refused and changes nothing.
  ASSERT_EQ(FT_OpenEx(reinterpret_cast<void*>(uintptr_t{0x1012}), FT_OPEN_BY_LOCATION, &chip),
            FT_OK);
  std::strcpy(manufacturer, "a manufacturer of thirty chars");
  std::strcpy(description, "a description of twenty");
  EXPECT_EQ(FT_EE_Program(chip, &data), FT_INVALID_PARAMETER);
  data.Signature2 = 0;
  EXPECT_EQ(FT_EE_Read(chip, &data), FT_INVALID_PARAMETER);
}

TEST(SimEeprom, ACycledPortIsOffTheBusForItsTime) {
  ASSERT_EQ(VrxSim_Configure("devices = 2\ncycle_port_ms = 30\n"), 1);
  FT_HANDLE chip = nullptr;
  ASSERT_EQ(FT_OpenEx(reinterpret_cast<void*>(uintptr_t{0x1012}), FT_OPEN_BY_LOCATION, &chip),
            FT_OK);
  ASSERT_EQ(FT_CyclePort(chip), FT_OK);
  uint32_t count = 0;
  ASSERT_EQ(FT_CreateDeviceInfoList(&count), FT_OK);
  EXPECT_EQ(count, 1u);
  for (int i = 0; i < 200 && count < 2; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    FT_CreateDeviceInfoList(&count);
  }
  EXPECT_EQ(count, 2u) << "the chip never came back";
  EXPECT_EQ(Status(chip), FT_IO_ERROR);
}

TEST(SimScenario, GoodAndBadLines) {
  struct Case {
    const char* text;
    bool ok;
    const char* error;  // the start of the message
  };
  const Case cases[] = {
      {"", true, ""},
      {"# only a comment\n\n   \n", true, ""},
      {"rate = real   # trailing comment\r\nranges = 1,0 , 1\n", true, ""},
      {"location = 0x2121\nseed = 18446744073709551615\n", true, ""},
      {"devices = 2\nbusy = 1\n", true, ""},
      {"rate = fast\n", false, "line 1: bad value for 'rate'"},
      {"\nspeed = 5\n", false, "line 2: unknown key 'speed'"},
      {"silent\n", false, "line 1: expected key = value"},
      {"ranges = 0,2\n", false, "line 1: bad value for 'ranges'"},
      {"short_by = -1\n", false, "line 1: bad value for 'short_by'"},
      {"unplug_at_byte = 12x\n", false, "line 1: bad value for 'unplug_at_byte'"},
      {"devices = 0\n", false, "line 1: bad value for 'devices'"},
      {"clock_divider = 32768\n", false, "line 1: bad value for 'clock_divider'"},
      {"serial = 0123456789ABCDEF\n", false, "line 1: bad value for 'serial'"},
      {"busy = 1\n", false, "busy names device 1"},
      {"devices = 2\nrefuse_open = 1\nee_read_fails = 0,1\nlist_fails = yes\ncycle_port_ms = 9\n",
       true, ""},
      {"ee_program_fails = 1\n", false, "ee_program_fails names device 1"},
      {"cycle_port_ms = 60001\n", false, "line 1: bad value for 'cycle_port_ms'"},
      {"usb_transfer = 512\nlatency_ms = 255\nreply_delay_ms = 60\n", true, ""},
      {"usb_transfer = 100\n", false, "line 1: bad value for 'usb_transfer'"},
      {"latency_ms = 0\n", false, "line 1: bad value for 'latency_ms'"},
  };
  for (const Case& c : cases) {
    sim::Scenario scenario;
    scenario.devices = 9;
    std::string error;
    EXPECT_EQ(sim::ParseScenario(c.text, &scenario, &error), c.ok) << c.text;
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text << " gave " << error;
    if (!c.ok) {
      EXPECT_EQ(scenario.devices, 1u) << "defaults after an error";
    }
    EXPECT_EQ(VrxSim_Configure(c.text), c.ok ? 1 : 0) << c.text;
  }
  sim::Scenario parsed;
  ASSERT_TRUE(
      sim::ParseScenario("rate = real\nranges = 1,0 , 1\nrms_kv = 2.5\n", &parsed, nullptr));
  EXPECT_EQ(parsed.rate, sim::LineRate::kReal);
  EXPECT_EQ(parsed.ranges, (std::vector<uint8_t>{1, 0, 1}));
  EXPECT_DOUBLE_EQ(parsed.rmsKv, 2.5);
}

TEST(SimScenario, RefusedBaudRateThenAccepted) {
  ASSERT_EQ(VrxSim_Configure("refuse_baud = 2\n"), 1);
  FT_HANDLE handle = OpenByDescription("VRX-470");
  EXPECT_EQ(FT_SetBaudRate(handle, 1000000), FT_INVALID_BAUD_RATE);
  EXPECT_EQ(FT_SetBaudRate(handle, 1000000), FT_INVALID_BAUD_RATE);
  EXPECT_EQ(FT_SetBaudRate(handle, 1000000), FT_OK);
  EXPECT_EQ(FT_SetBaudRate(handle, 0), FT_INVALID_BAUD_RATE);
  EXPECT_EQ(VrxSim_Counter("FT_SetBaudRate"), 4u);
}

TEST(SimScenario, TraceHasOneLinePerCall) {
  std::string path = ::testing::TempDir() + "sim_trace.txt";
  std::remove(path.c_str());
  std::string scenario = "trace = " + path + "\n";
  ASSERT_EQ(VrxSim_Configure(scenario.c_str()), 1);
  FT_HANDLE handle = OpenLink();
  WriteByte(handle, 0x42);
  FT_Close(handle);
  ASSERT_EQ(VrxSim_Configure(""), 1);  // closes the trace
  std::ifstream file(path);
  std::vector<std::string> names;
  for (std::string line; std::getline(file, line);)
    names.push_back(line.substr(0, line.find(' ')));
  EXPECT_EQ(names, (std::vector<std::string>{"FT_OpenEx", "FT_SetBaudRate",
                                             "FT_SetDataCharacteristics", "FT_Write", "FT_Close"}));
}

TEST(SimRealRate, MissingDataWaitsTheReadTimeOut) {
  ASSERT_EQ(VrxSim_Configure("rate = real\n"), 1);
  FT_HANDLE handle = OpenLink();
  ASSERT_EQ(FT_SetTimeouts(handle, 40, 40), FT_OK);
  uint8_t buffer[98];
  uint32_t got = 99;
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(FT_Read(handle, buffer, 98, &got), FT_OK);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(40));
  EXPECT_EQ(got, 0u);
}

using Clock = std::chrono::steady_clock;

void SendRequest(FT_HANDLE handle, const std::vector<uint8_t>& request) {
  for (uint8_t byte : request)
    WriteByte(handle, byte);
}

TEST(SimRealRate, RepliesReachThePcInWholeTransfersAndTheRestAfterTheLatency) {
  struct Case {
    const char* scenario;
    std::vector<uint8_t> request;
    uint32_t length;
    uint32_t transferData;  // data bytes of one USB transfer: 62 of every 64
    int latencyMs;
    int delayMs;  // until the instrument begins its answer
  };
  const std::vector<uint8_t> parameters = {0x42, 0x00, 0x00, 0x19, 0x19};
  const std::vector<uint8_t> liveFrame = {0x42, 0x00, 0x00, 0x10, 0xD0};
  const Case cases[] = {
      {"rate = real\n", parameters, 98, 3968, 16, 0},
      {"rate = real\n", liveFrame, 8194, 3968, 16, 0},
      {"rate = real\nusb_transfer = 512\nlatency_ms = 2\n", liveFrame, 8194, 496, 2, 0},
      {"rate = real\nreply_delay_ms = 20\n", parameters, 98, 3968, 16, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scenario + std::to_string(c.length));
    ASSERT_EQ(VrxSim_Configure(c.scenario), 1);
    FT_HANDLE handle = OpenLink();
    ASSERT_EQ(FT_SetTimeouts(handle, 900, 900), FT_OK);
    // What the driver can hand over `elapsed` after the reply could begin: whole transfers, and
    // all once the line has been quiet for the latency. 10 µs a byte.
    const auto bytesAfter = [&](Clock::duration elapsed) -> long long {
      const long long us =
          std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count() - c.delayMs * 1000;
      if (us >= c.length * 10ll + c.latencyMs * 1000)
        return c.length;
      return us <= 0 ? 0 : std::min<long long>(us / 10, c.length) / c.transferData * c.transferData;
    };
    const auto asking = Clock::now();
    SendRequest(handle, c.request);
    // The request's five bytes take their own line time before the answer can begin.
    const auto asked = Clock::now() + std::chrono::microseconds(100);
    uint32_t queued = 0, transmit = 0, events = 0;
    while (queued < c.length && Clock::now() - asking < std::chrono::seconds(2)) {
      const auto before = Clock::now();
      ASSERT_EQ(FT_GetStatus(handle, &queued, &transmit, &events), FT_OK);
      const auto after = Clock::now();
      ASSERT_GE(static_cast<long long>(queued), bytesAfter(before - asked));
      ASSERT_LE(static_cast<long long>(queued), bytesAfter(after - asking));
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(queued, c.length);
    std::vector<uint8_t> reply(c.length);
    uint32_t got = 0;
    EXPECT_EQ(FT_Read(handle, reply.data(), c.length, &got), FT_OK);
    EXPECT_EQ(got, c.length);

    // A read returns once its bytes are visible, never before.
    const auto again = Clock::now();
    SendRequest(handle, c.request);
    EXPECT_EQ(FT_Read(handle, reply.data(), c.length, &got), FT_OK);
    EXPECT_EQ(got, c.length);
    EXPECT_GE(bytesAfter(Clock::now() - again), c.length);
    EXPECT_EQ(FT_GetQueueStatus(handle, &queued), FT_OK);
    EXPECT_EQ(queued, 0u);
  }
}

TEST(SimRealRate, APowerCycleKeepsWhatReachedTheChipAndTheBootLoaderFollows) {
  ASSERT_EQ(VrxSim_Configure("rate = real\n"), 1);
  FT_HANDLE handle = OpenLink();
  ASSERT_EQ(FT_SetTimeouts(handle, 900, 900), FT_OK);
  // A memory frame: 32,770 bytes, a third of a second on the line.
  SendRequest(handle, {0x42, 0x00, 0x00, 0x40, 0xD1});
  // Switched off early in the frame, on again with the power button held.
  std::this_thread::sleep_for(std::chrono::milliseconds(45));
  ASSERT_EQ(VrxSim_PowerCycle(1), 1);
  EXPECT_EQ(Status(handle), FT_OK);
  // What had come in by then is there, the rest of the frame never comes, and the boot loader's
  // announcement follows it: the read runs into its time-out with both.
  std::vector<uint8_t> bytes(32770);
  uint32_t got = 0;
  EXPECT_EQ(FT_Read(handle, bytes.data(), 32770, &got), FT_OK);
  ASSERT_GE(got, 4000u);
  EXPECT_LT(got, 32770u);
  EXPECT_EQ(bytes[got - 2], 0x77);
  EXPECT_EQ(bytes[got - 1], 0x88);
}

TEST(SimFaults, RefusedWritesLeaveTheLinkGood) {
  ASSERT_EQ(VrxSim_Configure("refuse_writes = 2\n"), 1);
  FT_HANDLE handle = OpenLink();
  EXPECT_EQ(WriteByte(handle, 0x42), FT_IO_ERROR);
  EXPECT_EQ(Status(handle), FT_OK);
  EXPECT_EQ(WriteByte(handle, 0x42), FT_IO_ERROR);
  EXPECT_EQ(WriteByte(handle, 0x42), FT_OK);
  EXPECT_EQ(VrxSim_Counter("failed_writes"), 2u);
  EXPECT_EQ(VrxSim_Received(nullptr, 0), 1u);
}

TEST(SimThreads, PluggingWhileTheLinkIsBusy) {
  ASSERT_EQ(VrxSim_Configure(""), 1);
  std::atomic<bool> stop{false};
  std::thread plugger([&] {
    for (int i = 0; i < 200; ++i) {
      VrxSim_SetAttached(i % 2);
      VrxSim_Counter("FT_Write");
    }
    VrxSim_SetAttached(1);
    stop = true;
  });
  uint32_t good = 0;
  while (!stop) {
    FT_HANDLE handle = OpenByDescription("VRX-470");
    if (!handle)
      continue;
    FT_SetBaudRate(handle, 1000000);
    FT_SetDataCharacteristics(handle, 8, 0, 0);
    for (uint8_t byte : {0x42, 0x00, 0x00, 0x19, 0x19})
      WriteByte(handle, byte);
    uint8_t reply[98];
    uint32_t got = 0;
    if (FT_Read(handle, reply, 98, &got) == FT_OK && got == 98)
      ++good;
    FT_Close(handle);
  }
  plugger.join();
  EXPECT_LE(good, VrxSim_Counter("requests_param"));
  EXPECT_NE(OpenByDescription("VRX-470"), nullptr);
}

#if !defined(_WIN32)
TEST(SimInProcess, LibraryWithAndWithoutNames) {
  const char* names[] = {"FT_Open",
                         "FT_OpenEx",
                         "FT_Close",
                         "FT_Read",
                         "FT_Write",
                         "FT_IoCtl",
                         "FT_SetBaudRate",
                         "FT_SetDataCharacteristics",
                         "FT_ResetDevice",
                         "FT_Purge",
                         "FT_SetTimeouts",
                         "FT_GetQueueStatus",
                         "FT_GetStatus",
                         "FT_CyclePort",
                         "FT_EE_Read",
                         "FT_EE_Program",
                         "FT_ListDevices",
                         "FT_CreateDeviceInfoList",
                         "FT_SetResetPipeRetryCount",
                         "FT_GetDeviceInfoList"};
  struct Case {
    std::vector<std::string> missing;
  };
  const Case cases[] = {{{}}, {{"FT_IoCtl"}}, {{"FT_ListDevices"}}};
  for (const Case& c : cases) {
    if (c.missing.empty()) {
      VrxSim_RegisterInProcess();
    } else {
      VrxSim_RegisterInProcessWithout(c.missing);
    }
    os::LibraryHandle library = os::LoadLibraryByName("ftd2xx.dll");
    ASSERT_NE(library, nullptr);
    for (const char* name : names) {
      bool missing = !c.missing.empty() && c.missing[0] == name;
      EXPECT_EQ(os::LibrarySymbol(library, name) == nullptr, missing) << name;
    }
  }
  auto open = reinterpret_cast<PFT_OpenEx>(
      os::LibrarySymbol(os::LoadLibraryByName("ftd2xx.dll"), "FT_OpenEx"));
  ASSERT_EQ(VrxSim_Configure(""), 1);
  FT_HANDLE handle = nullptr;
  char description[] = "VRX-470";
  EXPECT_EQ(open(description, FT_OPEN_BY_DESCRIPTION, &handle), FT_OK);
  os::RegisterInProcessLibrary("ftd2xx.dll", nullptr);
}
#endif

}  // namespace

// The simulated D2XX driver with its attached devices: device list, handles, link settings, line
// timing, plugging, counters and trace. One lock guards everything; no method lets an exception
// out, and none holds the lock while it waits out line time.
#pragma once

#include <chrono>
#include <cstdarg>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "boot_loader.h"
#include "d2xx.h"
#include "eeprom.h"
#include "file.h"
#include "instrument.h"
#include "scenario.h"
#include "usb_delivery.h"

namespace sim {

class Simulator {
 public:
  // The one simulator of the process, configured from VRX_SIM_SCENARIO on first use.
  static Simulator& Instance();

  // Resets everything and applies the scenario; false (and the defaults) on a parse error.
  bool Configure(const std::string& text, std::string* error);
  void SetAttached(bool attached);
  // The instrument is switched off and on again: into its boot loader with its power button held
  // (`bootLoader`), else into its firmware. Its chip stays on the bus, so handles stay good and
  // what the chip holds stays; what the instrument had not yet sent is lost.
  void PowerCycle(bool bootLoader);
  uint32_t Counter(const std::string& name);
  uint32_t Received(uint8_t* buffer, uint32_t capacity);

  FT_STATUS Open(int index, FT_HANDLE* handle);
  FT_STATUS OpenEx(void* arg, uint32_t flags, FT_HANDLE* handle);
  FT_STATUS Close(FT_HANDLE handle);
  FT_STATUS Read(FT_HANDLE handle, void* buffer, uint32_t length, uint32_t* got);
  FT_STATUS Write(FT_HANDLE handle, const void* buffer, uint32_t length, uint32_t* written);
  FT_STATUS IoCtl(FT_HANDLE handle, uint32_t code);
  FT_STATUS SetBaudRate(FT_HANDLE handle, uint32_t baud);
  FT_STATUS SetDataCharacteristics(FT_HANDLE handle, uint8_t bits, uint8_t stop, uint8_t parity);
  FT_STATUS ResetDevice(FT_HANDLE handle);
  FT_STATUS Purge(FT_HANDLE handle, uint32_t mask);
  FT_STATUS SetTimeouts(FT_HANDLE handle, uint32_t readMs, uint32_t writeMs);
  FT_STATUS GetQueueStatus(FT_HANDLE handle, uint32_t* received);
  FT_STATUS GetStatus(FT_HANDLE handle, uint32_t* received, uint32_t* transmit, uint32_t* events);
  FT_STATUS CyclePort(FT_HANDLE handle);
  FT_STATUS EeRead(FT_HANDLE handle, FT_PROGRAM_DATA* data);
  FT_STATUS EeProgram(FT_HANDLE handle, FT_PROGRAM_DATA* data);
  FT_STATUS ListDevices(void* arg1, void* arg2, uint32_t flags);
  FT_STATUS CreateDeviceInfoList(uint32_t* count);
  FT_STATUS SetResetPipeRetryCount(FT_HANDLE handle, uint32_t count);
  FT_STATUS GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* list, uint32_t* count);

 private:
  using Clock = std::chrono::steady_clock;

  struct Device {
    std::string description;
    std::string serial;
    uint32_t location = 0;
    bool busy = false;
    bool present = true;
    // Bumped on every disconnection: handles of an earlier connection fail with an I/O error.
    uint32_t generation = 0;
    bool open = false;
    FT_HANDLE openHandle = nullptr;
    // The chip's settings since it enumerated.
    uint32_t baud = 9600;
    uint8_t bits = 8, stop = 0, parity = 0;
    uint32_t readTimeoutMs = 0, writeTimeoutMs = 0, pipeRetries = 0;
    std::deque<uint8_t> pending;  // sent by the device, not yet read by the PC
    // When the pending bytes become visible to the PC in `real` rate; in `instant` rate all are.
    UsbDelivery delivery;
    Eeprom eeprom;
    uint32_t id = 0;  // vendor id in the high word, product id in the low word, as enumerated
    // After a port cycle: when the chip is back on the bus.
    std::optional<Clock::time_point> returnsAt;
  };

  struct Handle {
    uint32_t device = 0;
    uint32_t generation = 0;
    bool open = false;
  };

  Simulator();
  void Reset(const Scenario& scenario);
  void Refresh();  // applies the timed plug events that are due
  // Rewrites the scenario's EEPROM file, if it names one, with every chip's image.
  void WriteEepromFile();
  void Enumerate(Device* device);
  void Disconnect(Device* device);
  FT_STATUS Check(FT_HANDLE handle, Device** device);
  FT_STATUS OpenDevice(int found, FT_HANDLE* handle);
  std::vector<uint32_t> PresentDevices() const;
  // Books line time for bytes written; returns when the line is free again if that is worth a wait.
  std::optional<Clock::time_point> Charge(uint32_t bytes, const Device& device);
  // The receive side: bytes the device queued since `before` set off for the PC once the line is
  // free from `from`; how many the PC can take at `now`; taking the first `count` off the queue;
  // emptying it.
  void Dispatch(Device* device, size_t before, Clock::time_point from);
  size_t Visible(const Device& device, Clock::time_point now) const;
  void Take(Device* device, size_t count);
  static void DropPending(Device* device);
  // Runs `act` on the device of a good handle under the lock, and traces the call.
  template <typename Act, typename... Arguments>
  FT_STATUS WithDevice(const char* name, FT_HANDLE handle, Act act, const char* format,
                       Arguments... arguments);
  FT_STATUS Done(const char* name, FT_HANDLE handle, FT_STATUS status, const char* format, ...)
      __attribute__((format(printf, 5, 6)));
  static void WaitUntil(const std::optional<Clock::time_point>& until);

  std::mutex lock_;
  Scenario scenario_;
  std::vector<Device> devices_;
  std::unique_ptr<Instrument> instrument_;
  // Keeps its state while the instrument is unplugged: the USB link goes, not its power.
  std::unique_ptr<BootLoader> bootLoader_;
  // Handles live as long as the process, so a stale one is always recognised, never reused.
  std::vector<std::unique_ptr<Handle>> handles_;
  std::unordered_set<const void*> known_;
  std::map<std::string, uint32_t> counters_;
  std::vector<uint8_t> received_;
  uint32_t bytesWritten_ = 0;  // bytes offered since configuring, for the unplug fault
  uint32_t baudCalls_ = 0;
  uint32_t writesRefused_ = 0;
  std::vector<uint32_t> listed_;  // the device list as FT_CreateDeviceInfoList last built it
  Clock::time_point configuredAt_;
  std::optional<Clock::time_point> plugAt_;
  Clock::time_point lineFreeAt_;
  os::File trace_;
};

template <typename Act, typename... Arguments>
FT_STATUS Simulator::WithDevice(const char* name, FT_HANDLE handle, Act act, const char* format,
                                Arguments... arguments) {
  std::lock_guard<std::mutex> hold(lock_);
  Refresh();
  Device* device = nullptr;
  FT_STATUS status = Check(handle, &device);
  if (status == FT_OK)
    status = act(*device);
  return Done(name, handle, status, format, arguments...);
}

}  // namespace sim

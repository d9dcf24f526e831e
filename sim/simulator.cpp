#include "simulator.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace sim {
namespace {

constexpr uint32_t kInstrument = 0;  // device 0 is the VRX-470
constexpr uint32_t kInstrumentBaud = 1000000;
constexpr uint32_t kMaxBaud = 3000000;
constexpr uint32_t kListNumberOnly = 0x80000000u;
constexpr uint32_t kListByIndex = 0x40000000u;

std::string ReadWholeFile(const std::string& path, bool* ok) {
  os::File file = os::File::Open(path, os::File::Mode::kReadExisting);
  std::string text;
  *ok = file.IsOpen();
  char chunk[4096];
  long long got = 0;
  while (*ok && (got = file.Read(chunk, sizeof chunk)) > 0)
    text.append(chunk, size_t(got));
  if (got < 0)
    *ok = false;
  return text;
}

}  // namespace

Simulator& Simulator::Instance() {
  // Never destroyed: the program's threads may still call in while the process ends.
  static Simulator* simulator = new Simulator();
  return *simulator;
}

Simulator::Simulator() {
  Scenario scenario;
  const char* path = std::getenv("VRX_SIM_SCENARIO");
  if (path && *path) {
    bool ok = false;
    std::string text = ReadWholeFile(path, &ok);
    std::string error = "cannot read the file";
    if (!ok || !ParseScenario(text, &scenario, &error)) {
      std::fprintf(stderr, "vrx sim: %s: %s; running the default scenario\n", path, error.c_str());
    }
  }
  std::lock_guard<std::mutex> hold(lock_);
  Reset(scenario);
}

bool Simulator::Configure(const std::string& text, std::string* error) {
  Scenario scenario;
  bool ok = ParseScenario(text, &scenario, error);
  std::lock_guard<std::mutex> hold(lock_);
  Reset(scenario);
  return ok;
}

void Simulator::Reset(const Scenario& scenario) {
  scenario_ = scenario;
  // Handles of an earlier scenario stay known, so they fail as closed rather than as unknown.
  for (auto& handle : handles_)
    handle->open = false;
  devices_.assign(scenario.devices, Device());
  for (uint32_t i = 0; i < scenario.devices; ++i) {
    Device& device = devices_[i];
    char serial[16];
    std::snprintf(serial, sizeof serial, "FTSIM%03u", static_cast<unsigned>(i));
    device.eeprom = i == kInstrument ? FactoryEeprom(scenario.description, scenario.serial, i)
                                     : FactoryEeprom("FT232R USB UART", serial, i);
    if (i == kInstrument && scenario.description == "VRX-470") {
      // The instrument's chip was programmed with the program's identity at the factory.
      device.eeprom.manufacturer = "halvorinkastel";
      device.eeprom.fields.RIsD2XX = 1;
    }
    device.location = scenario.location + i;
    device.busy = ListsDevice(scenario.busy, i);
    device.delivery = UsbDelivery(scenario.usbTransfer, scenario.latencyMs);
    Enumerate(&device);
  }
  instrument_ = std::make_unique<Instrument>(scenario);
  bootLoader_ = std::make_unique<BootLoader>(scenario);
  counters_.clear();
  received_.clear();
  bytesWritten_ = 0;
  baudCalls_ = 0;
  writesRefused_ = 0;
  listed_.clear();
  configuredAt_ = Clock::now();
  lineFreeAt_ = configuredAt_;
  plugAt_.reset();
  if (!scenario.attached) {
    Disconnect(&devices_[kInstrument]);
  } else if (scenario.attachAfterMs > 0) {
    Disconnect(&devices_[kInstrument]);
    plugAt_ = configuredAt_ + std::chrono::milliseconds(scenario.attachAfterMs);
  }
  trace_.Close();
  if (!scenario.trace.empty()) {
    trace_ = os::File::Open(scenario.trace, os::File::Mode::kReadWriteExisting);
    if (!trace_.IsOpen())
      trace_ = os::File::Open(scenario.trace, os::File::Mode::kCreateReadWrite);
    if (trace_.IsOpen())
      trace_.SeekToEnd();
  }
  WriteEepromFile();
}

void Simulator::Enumerate(Device* device) {
  device->present = true;
  // A freshly enumerated chip runs its defaults and shows what its EEPROM says.
  device->baud = 9600;
  device->bits = 8;
  device->stop = 0;
  device->parity = 0;
  device->readTimeoutMs = device->writeTimeoutMs = device->pipeRetries = 0;
  device->description = device->eeprom.description;
  device->serial = device->eeprom.serial;
  device->id = uint32_t{device->eeprom.fields.VendorId} << 16 | device->eeprom.fields.ProductId;
}

void Simulator::Disconnect(Device* device) {
  device->present = false;
  ++device->generation;
  device->open = false;
  device->openHandle = nullptr;
  DropPending(device);
  device->returnsAt.reset();
  if (device == &devices_[kInstrument])
    instrument_->Restart();
}

void Simulator::Refresh() {
  const Clock::time_point now = Clock::now();
  if (plugAt_ && now >= *plugAt_) {
    plugAt_.reset();
    if (!devices_[kInstrument].present)
      Enumerate(&devices_[kInstrument]);
  }
  for (Device& device : devices_) {
    if (device.returnsAt && now >= *device.returnsAt) {
      device.returnsAt.reset();
      Enumerate(&device);
    }
  }
  Device& instrument = devices_[kInstrument];
  if (instrument.present && bootLoader_->Active()) {
    // What the boot loader sends unasked comes down the line like any reply.
    const size_t before = instrument.pending.size();
    bootLoader_->Tick(now, &instrument.pending);
    Dispatch(&instrument, before, now);
  }
}

void Simulator::SetAttached(bool attached) {
  std::lock_guard<std::mutex> hold(lock_);
  plugAt_.reset();
  Device& device = devices_[kInstrument];
  device.returnsAt.reset();
  if (attached && !device.present)
    Enumerate(&device);
  if (!attached && device.present)
    Disconnect(&device);
}

void Simulator::PowerCycle(bool bootLoader) {
  std::lock_guard<std::mutex> hold(lock_);
  Refresh();
  Device& device = devices_[kInstrument];
  if (scenario_.rate == LineRate::kReal) {
    const size_t lost = std::min(device.delivery.StopAt(Clock::now()), device.pending.size());
    device.pending.erase(device.pending.end() - static_cast<std::ptrdiff_t>(lost),
                         device.pending.end());
  }
  instrument_->Restart();
  bootLoader_->PowerUp(bootLoader);
}

uint32_t Simulator::Counter(const std::string& name) {
  std::lock_guard<std::mutex> hold(lock_);
  auto found = counters_.find(name);
  return found == counters_.end() ? 0 : found->second;
}

uint32_t Simulator::Received(uint8_t* buffer, uint32_t capacity) {
  std::lock_guard<std::mutex> hold(lock_);
  if (buffer) {
    std::copy_n(received_.begin(), std::min<size_t>(capacity, received_.size()), buffer);
  }
  return static_cast<uint32_t>(received_.size());
}

FT_STATUS Simulator::Check(FT_HANDLE handle, Device** device) {
  if (!handle || !known_.count(handle))
    return FT_INVALID_HANDLE;
  const Handle* state = static_cast<const Handle*>(handle);
  if (!state->open)
    return FT_INVALID_HANDLE;
  Device& owner = devices_[state->device];
  if (!owner.present || owner.generation != state->generation)
    return FT_IO_ERROR;
  *device = &owner;
  return FT_OK;
}

std::vector<uint32_t> Simulator::PresentDevices() const {
  std::vector<uint32_t> present;
  for (uint32_t i = 0; i < devices_.size(); ++i) {
    if (devices_[i].present)
      present.push_back(i);
  }
  return present;
}

FT_STATUS Simulator::OpenDevice(int found, FT_HANDLE* handle) {
  if (found < 0)
    return FT_DEVICE_NOT_FOUND;
  Device& device = devices_[found];
  if (device.open || (device.busy && !scenario_.busyOpens) ||
      ListsDevice(scenario_.refuseOpen, static_cast<uint32_t>(found)))
    return FT_DEVICE_NOT_OPENED;
  auto state = std::make_unique<Handle>();
  state->device = static_cast<uint32_t>(found);
  state->generation = device.generation;
  state->open = true;
  FT_HANDLE value = state.get();
  known_.insert(value);
  handles_.push_back(std::move(state));
  device.open = true;
  device.openHandle = value;
  *handle = value;
  return FT_OK;
}

FT_STATUS Simulator::Open(int index, FT_HANDLE* handle) {
  std::lock_guard<std::mutex> hold(lock_);
  Refresh();
  std::vector<uint32_t> present = PresentDevices();
  FT_STATUS status = FT_INVALID_PARAMETER;
  if (handle) {
    bool inList = index >= 0 && static_cast<size_t>(index) < present.size();
    status = OpenDevice(inList ? static_cast<int>(present[index]) : -1, handle);
  }
  return Done("FT_Open", nullptr, status, "index=%d", index);
}

FT_STATUS Simulator::OpenEx(void* arg, uint32_t flags, FT_HANDLE* handle) {
  std::lock_guard<std::mutex> hold(lock_);
  Refresh();
  FT_STATUS status = FT_INVALID_PARAMETER;
  std::string what;
  bool byText = flags == FT_OPEN_BY_SERIAL_NUMBER || flags == FT_OPEN_BY_DESCRIPTION;
  if (handle && (flags == FT_OPEN_BY_LOCATION || (byText && arg))) {
    int found = -1;
    for (uint32_t i : PresentDevices()) {
      const Device& device = devices_[i];
      bool match = false;
      if (flags == FT_OPEN_BY_LOCATION) {
        // The location id travels as the pointer's value.
        match = device.location == static_cast<uint32_t>(reinterpret_cast<uintptr_t>(arg));
      } else {
        const std::string& name =
            flags == FT_OPEN_BY_DESCRIPTION ? device.description : device.serial;
        match = name == static_cast<const char*>(arg);
      }
      if (match) {
        found = static_cast<int>(i);
        break;
      }
    }
    status = OpenDevice(found, handle);
  }
  if (flags == FT_OPEN_BY_LOCATION) {
    what = "location=" + std::to_string(reinterpret_cast<uintptr_t>(arg));
  } else if (byText && arg) {
    what = std::string(flags == FT_OPEN_BY_DESCRIPTION ? "description=" : "serial=") +
           static_cast<const char*>(arg);
  }
  return Done("FT_OpenEx", handle && status == FT_OK ? *handle : nullptr, status, "flags=%u %s",
              static_cast<unsigned>(flags), what.c_str());
}

FT_STATUS Simulator::Close(FT_HANDLE handle) {
  std::lock_guard<std::mutex> hold(lock_);
  Refresh();
  FT_STATUS status = FT_INVALID_HANDLE;
  if (handle && known_.count(handle)) {
    Handle* state = static_cast<Handle*>(handle);
    if (state->open) {
      // Closing a handle of an unplugged device releases it all the same.
      state->open = false;
      Device& device = devices_[state->device];
      if (device.openHandle == handle) {
        device.open = false;
        device.openHandle = nullptr;
      }
      status = FT_OK;
    }
  }
  return Done("FT_Close", handle, status, "%s", "");
}

FT_STATUS Simulator::Write(FT_HANDLE handle, const void* buffer, uint32_t length,
                           uint32_t* written) {
  std::unique_lock<std::mutex> hold(lock_);
  Refresh();
  Device* device = nullptr;
  FT_STATUS status = Check(handle, &device);
  if (status == FT_OK && ((!buffer && length > 0) || !written))
    status = FT_INVALID_PARAMETER;
  uint32_t sent = 0;
  const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
  const size_t pendingBefore = device ? device->pending.size() : 0;
  if (status == FT_OK) {
    bool instrument = device == &devices_[kInstrument];
    // The instrument talks 1,000,000 baud 8N1 only; anything else reaches it as noise.
    bool understood = device->baud == kInstrumentBaud && device->bits == 8 && device->stop == 0 &&
                      device->parity == 0;
    if (instrument && writesRefused_ < scenario_.refuseWrites) {
      // The driver refuses the write while the link itself stays good.
      ++writesRefused_;
      status = FT_IO_ERROR;
    }
    for (; status == FT_OK && sent < length && instrument; ++sent) {
      if (++bytesWritten_ == scenario_.unplugAtByte && scenario_.unplugAtByte != 0) {
        Disconnect(device);
        if (scenario_.replugAfterMs >= 0) {
          plugAt_ = Clock::now() + std::chrono::milliseconds(scenario_.replugAfterMs);
        }
        status = FT_IO_ERROR;
        break;
      }
      if (!understood) {
        ++counters_["bytes_garbled"];
        continue;
      }
      received_.push_back(bytes[sent]);
      ++counters_["bytes_in"];
      if (bootLoader_->Active()) {
        bootLoader_->Receive(bytes[sent], Clock::now(), &device->pending);
        continue;
      }
      Request request = instrument_->Receive(bytes[sent], &device->pending);
      if (request.kind == Request::kParameters)
        ++counters_["requests_param"];
      if (request.kind == Request::kWaveform)
        ++counters_["requests_wave"];
    }
    // Other chips have nothing behind them: their bytes simply leave.
    if (!instrument)
      sent = length;
  }
  if (written)
    *written = sent;
  if (status != FT_OK)
    ++counters_["failed_writes"];
  std::optional<Clock::time_point> wait;
  if (device) {
    wait = Charge(sent, *device);
    // A reply sets off once the request's last byte is through and the instrument has taken its
    // time to begin it.
    Dispatch(
        device, pendingBefore,
        std::max(lineFreeAt_, Clock::now()) + std::chrono::milliseconds(scenario_.replyDelayMs));
  }
  status =
      Done("FT_Write", handle, status, "len=%u sent=%u first=%02X", static_cast<unsigned>(length),
           static_cast<unsigned>(sent), length && bytes ? bytes[0] : 0u);
  hold.unlock();
  WaitUntil(wait);
  return status;
}

FT_STATUS Simulator::Read(FT_HANDLE handle, void* buffer, uint32_t length, uint32_t* got) {
  std::unique_lock<std::mutex> hold(lock_);
  Refresh();
  Device* device = nullptr;
  FT_STATUS status = Check(handle, &device);
  if (status == FT_OK && ((!buffer && length > 0) || !got))
    status = FT_INVALID_PARAMETER;
  if (status == FT_OK && scenario_.rate == LineRate::kReal && device->readTimeoutMs > 0 &&
      Visible(*device, Clock::now()) < length) {
    // As the driver does: return once the bytes asked for have come, or when the read time-out
    // runs out.
    Clock::time_point until = Clock::now() + std::chrono::milliseconds(device->readTimeoutMs);
    std::optional<Clock::time_point> complete = device->delivery.VisibleAt(length);
    if (complete && *complete < until)
      until = *complete;
    hold.unlock();
    WaitUntil(until);
    hold.lock();
    Refresh();
    device = nullptr;
    status = Check(handle, &device);
  }
  uint32_t taken = 0;
  if (status == FT_OK) {
    taken = static_cast<uint32_t>(std::min<size_t>(length, Visible(*device, Clock::now())));
    std::copy_n(device->pending.begin(), taken, static_cast<uint8_t*>(buffer));
    Take(device, taken);
    counters_["bytes_out"] += taken;
    if (taken < length && device == &devices_[kInstrument] && bootLoader_->Active()) {
      const size_t before = device->pending.size();
      bootLoader_->ReadCameShort(&device->pending);
      Dispatch(device, before, Clock::now());
    }
  }
  if (got)
    *got = taken;
  return Done("FT_Read", handle, status, "len=%u got=%u", static_cast<unsigned>(length),
              static_cast<unsigned>(taken));
}

FT_STATUS Simulator::IoCtl(FT_HANDLE handle, uint32_t code) {
  std::lock_guard<std::mutex> hold(lock_);
  return Done("FT_IoCtl", handle, FT_NOT_SUPPORTED, "code=%u", static_cast<unsigned>(code));
}

FT_STATUS Simulator::SetBaudRate(FT_HANDLE handle, uint32_t baud) {
  auto act = [&](Device& device) -> FT_STATUS {
    if (++baudCalls_ <= scenario_.refuseBaud || baud == 0 || baud > kMaxBaud) {
      return FT_INVALID_BAUD_RATE;
    }
    device.baud = baud;
    return FT_OK;
  };
  return WithDevice("FT_SetBaudRate", handle, act, "baud=%u", static_cast<unsigned>(baud));
}

FT_STATUS Simulator::SetDataCharacteristics(FT_HANDLE handle, uint8_t bits, uint8_t stop,
                                            uint8_t parity) {
  auto act = [&](Device& device) -> FT_STATUS {
    if ((bits != 7 && bits != 8) || (stop != 0 && stop != 2) || parity > 4) {
      return FT_INVALID_PARAMETER;
    }
    device.bits = bits;
    device.stop = stop;
    device.parity = parity;
    return FT_OK;
  };
  return WithDevice("FT_SetDataCharacteristics", handle, act, "bits=%u stop=%u parity=%u",
                    unsigned{bits}, unsigned{stop}, unsigned{parity});
}

FT_STATUS Simulator::ResetDevice(FT_HANDLE handle) {
  // The chip's buffers go; the instrument behind it does not notice.
  auto act = [](Device& device) -> FT_STATUS {
    DropPending(&device);
    return FT_OK;
  };
  return WithDevice("FT_ResetDevice", handle, act, "%s", "");
}

FT_STATUS Simulator::Purge(FT_HANDLE handle, uint32_t mask) {
  // Writes reach the instrument at once, so only the receive side holds anything to purge.
  auto act = [&](Device& device) -> FT_STATUS {
    if (mask & FT_PURGE_RX)
      DropPending(&device);
    return FT_OK;
  };
  return WithDevice("FT_Purge", handle, act, "mask=%u", static_cast<unsigned>(mask));
}

FT_STATUS Simulator::SetTimeouts(FT_HANDLE handle, uint32_t readMs, uint32_t writeMs) {
  auto act = [&](Device& device) -> FT_STATUS {
    device.readTimeoutMs = readMs;
    device.writeTimeoutMs = writeMs;
    return FT_OK;
  };
  return WithDevice("FT_SetTimeouts", handle, act, "read=%u write=%u",
                    static_cast<unsigned>(readMs), static_cast<unsigned>(writeMs));
}

FT_STATUS Simulator::GetQueueStatus(FT_HANDLE handle, uint32_t* received) {
  auto act = [&](Device& device) -> FT_STATUS {
    if (!received)
      return FT_INVALID_PARAMETER;
    *received = static_cast<uint32_t>(Visible(device, Clock::now()));
    return FT_OK;
  };
  return WithDevice("FT_GetQueueStatus", handle, act, "%s", "");
}

FT_STATUS Simulator::GetStatus(FT_HANDLE handle, uint32_t* received, uint32_t* transmit,
                               uint32_t* events) {
  auto act = [&](Device& device) -> FT_STATUS {
    if (received)
      *received = static_cast<uint32_t>(Visible(device, Clock::now()));
    if (transmit)
      *transmit = 0;
    if (events)
      *events = 0;
    return FT_OK;
  };
  return WithDevice("FT_GetStatus", handle, act, "%s", "");
}

FT_STATUS Simulator::ListDevices(void* arg1, void* arg2, uint32_t flags) {
  std::lock_guard<std::mutex> hold(lock_);
  Refresh();
  std::vector<uint32_t> present = PresentDevices();
  FT_STATUS status = FT_NOT_SUPPORTED;
  if (flags == kListNumberOnly) {
    status = arg1 ? FT_OK : FT_INVALID_PARAMETER;
    if (arg1)
      *static_cast<uint32_t*>(arg1) = static_cast<uint32_t>(present.size());
  } else if (flags == (kListByIndex | FT_OPEN_BY_SERIAL_NUMBER) ||
             flags == (kListByIndex | FT_OPEN_BY_DESCRIPTION)) {
    // The index travels as the pointer's value; the text goes into the caller's 64 bytes.
    uintptr_t index = reinterpret_cast<uintptr_t>(arg1);
    status = FT_INVALID_PARAMETER;
    if (arg2 && index < present.size()) {
      const Device& device = devices_[present[index]];
      const std::string& text =
          (flags & FT_OPEN_BY_DESCRIPTION) ? device.description : device.serial;
      std::snprintf(static_cast<char*>(arg2), 64, "%s", text.c_str());
      status = FT_OK;
    } else if (arg2) {
      status = FT_DEVICE_NOT_FOUND;
    }
  }
  return Done("FT_ListDevices", nullptr, status, "flags=%X", static_cast<unsigned>(flags));
}

FT_STATUS Simulator::SetResetPipeRetryCount(FT_HANDLE handle, uint32_t count) {
  auto act = [&](Device& device) -> FT_STATUS {
    device.pipeRetries = count;
    return FT_OK;
  };
  return WithDevice("FT_SetResetPipeRetryCount", handle, act, "count=%u",
                    static_cast<unsigned>(count));
}

std::optional<Simulator::Clock::time_point> Simulator::Charge(uint32_t bytes,
                                                              const Device& device) {
  if (scenario_.rate != LineRate::kReal || bytes == 0)
    return std::nullopt;
  Clock::time_point now = Clock::now();
  if (lineFreeAt_ < now)
    lineFreeAt_ = now;
  // Ten bit times a byte: start bit, eight data bits, stop bit.
  lineFreeAt_ += std::chrono::nanoseconds(uint64_t{bytes} * 10u * 1000000000u / device.baud);
  // Short transfers only book their time; the wait comes once it adds up to something.
  if (lineFreeAt_ - now < std::chrono::milliseconds(1))
    return std::nullopt;
  return lineFreeAt_;
}

void Simulator::Dispatch(Device* device, size_t before, Clock::time_point from) {
  if (scenario_.rate != LineRate::kReal || device->pending.size() <= before)
    return;
  // Ten bit times a byte, like the other direction.
  const Clock::duration byteTime = std::chrono::duration_cast<Clock::duration>(
      std::chrono::nanoseconds(10u * 1000000000ull / device->baud));
  device->delivery.Send(device->pending.size() - before, from, byteTime);
}

size_t Simulator::Visible(const Device& device, Clock::time_point now) const {
  if (scenario_.rate != LineRate::kReal)
    return device.pending.size();
  return device.delivery.Visible(now);
}

void Simulator::Take(Device* device, size_t count) {
  device->pending.erase(device->pending.begin(), device->pending.begin() + count);
  if (scenario_.rate == LineRate::kReal)
    device->delivery.Take(count);
}

void Simulator::DropPending(Device* device) {
  device->pending.clear();
  device->delivery.Clear();
}

void Simulator::WaitUntil(const std::optional<Clock::time_point>& until) {
  if (!until)
    return;
  // Never short: a sleep may round its time down to whole milliseconds.
  for (Clock::time_point now = Clock::now(); now < *until; now = Clock::now()) {
    std::this_thread::sleep_for(
        std::max<Clock::duration>(*until - now, std::chrono::milliseconds(1)));
  }
}

FT_STATUS Simulator::Done(const char* name, FT_HANDLE handle, FT_STATUS status, const char* format,
                          ...) {
  ++counters_[name];
  if (!trace_.IsOpen())
    return status;
  char arguments[200];
  va_list list;
  va_start(list, format);
  std::vsnprintf(arguments, sizeof arguments, format, list);
  va_end(list);
  char line[300];
  int length = std::snprintf(line, sizeof line, "%s %p %s -> %u\n", name, handle, arguments,
                             static_cast<unsigned>(status));
  if (length > 0)
    trace_.Write(line, std::min<size_t>(size_t(length), sizeof line - 1));
  return status;
}

}  // namespace sim

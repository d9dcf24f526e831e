#include "ft_transport.h"

#include "clock.h"
#include "library.h"
#include "usb_log.h"

const char* const kFtEntryPointNames[kFtEntryPointCount] = {
    "FT_Open",
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
    "FT_GetDeviceInfoList",
};

void* FtLibrary = nullptr;
FtEntryPoints FtDriver{};
FT_HANDLE FtHandle = nullptr;
std::atomic<uint8_t> UsbConnected{0};

namespace {

bool driverLoaded = false;

thread_local LinkContext* linkContext = nullptr;

// Looks up entry point `index` into `slot`; a missing name fails the load unless it is optional.
template <typename Function>
void Resolve(Function& slot, int index, bool& complete, bool optional = false) {
  void* symbol = os::LibrarySymbol(FtLibrary, kFtEntryPointNames[index]);
  slot = reinterpret_cast<Function>(symbol);
  if (!symbol && !optional)
    complete = false;
}

}  // namespace

std::mutex& FtLinkLock() {
  // Never destroyed: the connection thread may still use the link while the program ends.
  static std::mutex* const lock = new std::mutex;
  return *lock;
}

void SetLinkContext(LinkContext* context) {
  linkContext = context;
}

void LinkPause(uint32_t ms) {
  if (!linkContext) {
    os::SleepMs(ms);
    return;
  }
  linkContext->Wait(ms);
  linkContext->SafePoint();
}

int32_t LoadFtDriver() {
  FtLibrary = os::LoadLibraryByName("ftd2xx.dll");
  if (!FtLibrary)
    return 0;
  // Every name is looked up, in this order, whatever the earlier results.
  bool complete = true;
  Resolve(FtDriver.Open, 0, complete);
  Resolve(FtDriver.OpenEx, 1, complete);
  Resolve(FtDriver.Close, 2, complete);
  Resolve(FtDriver.Read, 3, complete);
  Resolve(FtDriver.Write, 4, complete);
  Resolve(FtDriver.IoCtl, 5, complete, /*optional=*/true);
  Resolve(FtDriver.SetBaudRate, 6, complete);
  Resolve(FtDriver.SetDataCharacteristics, 7, complete);
  Resolve(FtDriver.ResetDevice, 8, complete);
  Resolve(FtDriver.Purge, 9, complete);
  Resolve(FtDriver.SetTimeouts, 10, complete);
  Resolve(FtDriver.GetQueueStatus, 11, complete);
  Resolve(FtDriver.GetStatus, 12, complete);
  Resolve(FtDriver.CyclePort, 13, complete);
  Resolve(FtDriver.EE_Read, 14, complete);
  Resolve(FtDriver.EE_Program, 15, complete);
  Resolve(FtDriver.ListDevices, 16, complete);
  Resolve(FtDriver.CreateDeviceInfoList, 17, complete);
  Resolve(FtDriver.SetResetPipeRetryCount, 18, complete);
  Resolve(FtDriver.GetDeviceInfoList, 19, complete);
  driverLoaded = complete;
  return complete ? 1 : 0;
}

bool FtDriverLoaded() {
  return driverLoaded;
}

namespace {

uint32_t LinkStatusLocked() {
  // Only the status is used: the counts are not the program's to rely on.
  uint32_t receiveCount = 0;
  uint32_t transmitCount = 0;
  uint32_t eventStatus = 0;
  return FtDriver.GetStatus(FtHandle, &receiveCount, &transmitCount, &eventStatus);
}

void LinkSafePoint() {
  if (linkContext)
    linkContext->SafePoint();
}

bool GiveUpLostLink() {
  return linkContext && linkContext->GiveUpLostLink();
}

}  // namespace

uint32_t FtLinkStatus() {
  if (!driverLoaded)
    return FT_INVALID_HANDLE;
  std::lock_guard<std::mutex> link(FtLinkLock());
  return LinkStatusLocked();
}

bool FtConnect() {
  // Without a driver there is no link to wait for; callers learn of it from FtDriverLoaded.
  if (!driverLoaded)
    return false;
  std::unique_lock<std::mutex> link(FtLinkLock());
  if (LinkStatusLocked() == FT_OK)
    return true;
  // A link whose baud rate or data format was refused is not usable, even though its handle
  // reports a good status: the chip would stay at its default rate and the instrument would never
  // understand a request. So a refusal closes and reopens like a failing link, in a loop.
  for (;;) {
    FtDriver.Close(FtHandle);
    UsbConnected = 0;
    // Wait for an instrument with our USB description, however long that takes.
    do {
      link.unlock();
      LinkPause(kReopenPauseMs);
      if (GiveUpLostLink())
        return false;
      link.lock();
      // Another thread (the firmware update's) may have opened the instrument while this one was
      // held in the pause: a good link is kept, as on entry.
      if (LinkStatusLocked() == FT_OK)
        return true;
    } while (FtDriver.OpenEx(const_cast<char*>(kInstrumentDescription), FT_OPEN_BY_DESCRIPTION,
                             &FtHandle) != FT_OK);
    FT_STATUS refused = FtDriver.SetBaudRate(FtHandle, kLinkBaudRate);
    refused += FtDriver.SetDataCharacteristics(FtHandle, FT_BITS_8, FT_STOP_BITS_1, FT_PARITY_NONE);
    if (refused == FT_OK)
      break;
  }
  UsbConnected = 1;
  FtDriver.SetTimeouts(FtHandle, kLinkTimeoutMs, kLinkTimeoutMs);
  FtDriver.SetResetPipeRetryCount(FtHandle, kResetPipeRetryCount);
  return true;
}

int32_t FtReadBytes(uint8_t* buffer, int32_t length) {
  if (!driverLoaded || length <= 0)
    return 0;
  // One driver read of the whole length, on every thread: it returns once all has come or the
  // read time-out has run out. The chip hands received bytes over in whole USB transfers and the
  // rest of a reply only when its latency timer runs out, so no count taken on the way tells that
  // a reply has ended; a hold waits for this read to end instead, and nothing of the reply is left
  // in the chip for whoever takes the link next.
  const uint32_t wanted = static_cast<uint32_t>(length);
  uint32_t received = 0;
  {
    std::lock_guard<std::mutex> link(FtLinkLock());
    if (FtDriver.Read(FtHandle, buffer, wanted, &received) != FT_OK)
      return 0;
  }
  // Never report more than was asked for, whatever the driver says.
  if (received > wanted)
    received = wanted;
  LogUsbData(buffer, received, kUsbIn);
  return static_cast<int32_t>(received);
}

bool FtWriteBytes(const uint8_t* buffer, uint32_t length) {
  if (!driverLoaded)
    return false;
  for (uint32_t i = 0; i < length; ++i) {
    uint8_t byte = buffer[i];
    // A failing write means the link broke: reconnect and send the same byte again. The link
    // lock is released first, since reconnecting pauses.
    for (;;) {
      uint32_t written = 0;
      std::unique_lock<std::mutex> link(FtLinkLock());
      if (FtDriver.Write(FtHandle, &byte, 1, &written) == FT_OK)
        break;
      link.unlock();
      // A thread that gives up on the lost link sends nothing more; what went out is logged.
      if (!FtConnect() || GiveUpLostLink()) {
        LogUsbData(buffer, i, kUsbOut);
        return false;
      }
      // A link whose status stays good resends at once, without a pause, but past a safe point:
      // a hold must not wait for a write that keeps failing.
      LinkSafePoint();
    }
  }
  LogUsbData(buffer, length, kUsbOut);
  return true;
}

int32_t FtTransaction(const uint8_t* request, int32_t requestLength, uint8_t* reply,
                      int32_t replyLength) {
  // A hold asked for stops the thread before it sends another request, never between a request
  // and its answer.
  LinkSafePoint();
  if (driverLoaded) {
    std::lock_guard<std::mutex> link(FtLinkLock());
    FtDriver.Purge(FtHandle, FT_PURGE_RX | FT_PURGE_TX);
  }
  FtWriteBytes(request, static_cast<uint32_t>(requestLength));
  return FtReadBytes(reply, replyLength);
}

void ResetFtTransportForTests() {
  FtLibrary = nullptr;
  FtDriver = FtEntryPoints{};
  FtHandle = nullptr;
  UsbConnected = 0;
  driverLoaded = false;
}

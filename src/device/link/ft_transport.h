// The program's only road to the instrument: the D2XX binding, the one device handle, connecting,
// and moving bytes. Free functions over global state; they run on the calling thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "d2xx.h"

// The entry points of ftd2xx.dll, in the order they are looked up.
struct FtEntryPoints {
  PFT_Open Open;
  PFT_OpenEx OpenEx;
  PFT_Close Close;
  PFT_Read Read;
  PFT_Write Write;
  PFT_IoCtl IoCtl;
  PFT_SetBaudRate SetBaudRate;
  PFT_SetDataCharacteristics SetDataCharacteristics;
  PFT_ResetDevice ResetDevice;
  PFT_Purge Purge;
  PFT_SetTimeouts SetTimeouts;
  PFT_GetQueueStatus GetQueueStatus;
  PFT_GetStatus GetStatus;
  PFT_CyclePort CyclePort;
  PFT_EE_Read EE_Read;
  PFT_EE_Program EE_Program;
  PFT_ListDevices ListDevices;
  PFT_CreateDeviceInfoList CreateDeviceInfoList;
  PFT_SetResetPipeRetryCount SetResetPipeRetryCount;
  PFT_GetDeviceInfoList GetDeviceInfoList;
};

constexpr int kFtEntryPointCount = 20;
extern const char* const kFtEntryPointNames[kFtEntryPointCount];

// Link settings applied after every open.
constexpr char kInstrumentDescription[] = "VRX-470";
constexpr uint32_t kLinkBaudRate = 1000000;
constexpr uint32_t kLinkTimeoutMs = 900;
constexpr uint32_t kResetPipeRetryCount = 1500;
constexpr uint32_t kReopenPauseMs = 100;

extern void* FtLibrary;
extern FtEntryPoints FtDriver;
extern FT_HANDLE FtHandle;
// 1 once the reopened link has taken its baud rate and data format; read by the status bar.
extern std::atomic<uint8_t> UsbConnected;

// Loads ftd2xx.dll and fills FtDriver; 1 when every entry point but FT_IoCtl was found, else 0.
int32_t LoadFtDriver();
// Whether LoadFtDriver has succeeded, so the service utilities never call a missing entry point.
bool FtDriverLoaded();

// The driver's status of FtHandle; 0 means the link is usable.
uint32_t FtLinkStatus();

// Returns once FtHandle is an open, configured link to the instrument (true), however long that
// takes, unless the calling thread's context gives up waiting for a lost link (false: the handle
// is left closed). Without a driver there is nothing to wait for: false at once.
bool FtConnect();

// One driver read of `length` bytes, which ends once all have come or at the 900 ms read time-out;
// the count received, or 0 on a driver error.
int32_t FtReadBytes(uint8_t* buffer, int32_t length);

// Writes every byte with its own driver write; a failing write reconnects and resends that byte.
// True once all went out; false when the calling thread's context gave up on a lost link (the
// rest is not sent) or there is no driver.
bool FtWriteBytes(const uint8_t* buffer, uint32_t length);

// Empties the chip's buffers, writes the request and reads the reply; the count of FtReadBytes.
int32_t FtTransaction(const uint8_t* request, int32_t requestLength, uint8_t* reply,
                      int32_t replyLength);

// Makes each driver call sequence atomic against the other threads that use the link (the
// identity routine takes it for its whole run). Held only inside a sequence, never across a pause,
// so a thread held at its safe point never holds it.
std::mutex& FtLinkLock();

// What a thread that uses the link offers the link's loops: a safe point, where it may be held,
// and pauses that end early when the thread has something else to do (a hold asked for, or its
// end). The connection thread installs one; so does any other thread that talks to the instrument.
// A driver read is never cut short: it ends whole or at the read time-out.
class LinkContext {
 public:
  // Holds the thread here while it is asked to; returns at once otherwise.
  virtual void SafePoint() = 0;
  // Waits up to ms, ending early when the thread has something else to do.
  virtual void Wait(uint32_t ms) = 0;
  // Whether the loops that wait for a lost link to come back (reopening, resending a failing
  // write) should give up now. The connection thread never does.
  virtual bool GiveUpLostLink() { return false; }

 protected:
  ~LinkContext() = default;
};

// Installs the calling thread's context; nullptr (the default) for none: pauses then sleep
// (os::SleepMs).
void SetLinkContext(LinkContext* context);

// A pause of the retry and reconnect loops: with a context a wait that a hold ends early, followed
// by the thread's safe point; never inside a driver call or holding the link lock.
void LinkPause(uint32_t ms);

// Forgets the loaded driver and the handle; tests only, so each starts from program start.
void ResetFtTransportForTests();

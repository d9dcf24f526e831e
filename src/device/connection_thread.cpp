#include "connection_thread.h"

#include <mutex>

#include "clock.h"
#include "fpu_precision.h"
#include "ft_transport.h"
#include "meas_arith.h"
#include "records.h"

std::atomic<uint32_t> CycleMs{0};
uint8_t LastRange = 0;
uint16_t MemIndex = 0;
classFtConnectThread* FtConnectThread = nullptr;

namespace {
constexpr uint32_t kStartDelayMs = 10;
}  // namespace

std::string IntToText(int32_t value) {
  return std::to_string(value);
}

classFtConnectThread::classFtConnectThread(bool CreateSuspended, ConnectionHost& host,
                                           std::optional<std::string> recordFile)
    : os::TThread(CreateSuspended),
      host_(host),
      recordFile_(std::move(recordFile)),
      frame_(std::make_unique<uint8_t[]>(kMaxFrameLength)) {}

void classFtConnectThread::SafePoint() {
  CheckSuspended();
}

void classFtConnectThread::Wait(uint32_t ms) {
  Pause(ms);
}

void classFtConnectThread::WakeOnSourceChange(void* self) {
  static_cast<classFtConnectThread*>(self)->Wake();
}

void classFtConnectThread::Execute() {
  // The arithmetic rounds as it must only with the x87 unit at its full 64-bit significand.
  EnsureExtendedPrecision();
  SetLinkContext(this);
  SetSourceChangeListener(&classFtConnectThread::WakeOnSourceChange, this);
  // Whichever way Execute ends, nothing calls into this thread any more.
  struct Detach {
    ~Detach() {
      SetSourceChangeListener(nullptr, nullptr);
      SetLinkContext(nullptr);
    }
  } detach;
  os::SleepMs(kStartDelayMs);
  if (recordFile_)
    LoadCommandLineRecordFile();

  if (LoadFtDriver() != 1) {
    // The program goes on without an instrument; no reading is ever taken.
    Synchronize([this] { host_.ReportMissingDriver(); });
    return;
  }
  FtConnect();
  while (!Terminated()) {
    CheckSuspended();
    if (SourceMode == kSourceLive)
      LivePass();
    // Read again: one pass runs both branches when the source changes in between.
    if (SourceMode == kSourceMemory)
      MemoryPass();
    if (SourceMode == kSourceFile)
      WaitWhileFileSource();
  }
}

void classFtConnectThread::WaitWhileFileSource() {
  // Woken by every store of the source byte, by a hold and by termination.
  Pause(
      os::kNoTimeLimit, [] { return SourceMode != kSourceFile; }, /*endOnTerminate=*/true);
}

void classFtConnectThread::LoadCommandLineRecordFile() {
  bool loaded;
  {
    std::lock_guard<std::mutex> hold(RecordLock(FileRecord));
    loaded = ReadRecordFile(*recordFile_, FileRecord);
  }
  if (loaded) {
    // SourceMode is 1 before the radio group moves, so its handler opens no file dialog.
    Synchronize([this] { ShowOpenedRecordFile(host_); });
  } else {
    Synchronize([this] { host_.ReportFileError(); });
  }
}

void classFtConnectThread::LivePass() {
  uint32_t started = os::TickCount();
  ReadKalibr(&SignalRecord);
  const uint8_t runMode = RunMode;
  if (runMode == kRunContinuous || runMode == kRunOneRequested) {
    if (!FetchFrame(SignalRecord.log2N, 0, frame_.get()))
      return;
    bool sameRange;
    {
      // The frame and its arithmetic go in under one hold of the lock, so a reader outside the
      // hand-over never meets a frame half decoded, nor a processed frame without its values.
      // A frame after a change of range goes in unprocessed: until the next processed reading
      // the record holds its range, clock divider and samples beside the values, spectrum and
      // harmonics of the reading before, and a save in between writes both.
      std::lock_guard<std::mutex> hold(RecordLock(SignalRecord));
      DecodeWaveformReply(frame_.get(), 1 << SignalRecord.log2N, SignalRecord);
      sameRange = SignalRecord.range == LastRange;
      if (sameRange)
        ProcessMeasRecord(&SignalRecord);
    }
    if (sameRange) {
      CycleMs = os::TickCount() - started;
      Synchronize([this] { SyncShowMeasRecord(); });
    } else {
      // A change of range: this frame and the next are neither processed nor shown, though
      // each leaves its raw fields in the record.
      Synchronize([this] { SyncRangeChanged(); });
      ReadSignal(&SignalRecord, 0);
    }
    LastRange = SignalRecord.range;
  }
  // One requested reading has been taken (or lost to a change of range). Only a pass that found
  // the request ends it: a press that lands during another pass is this pass's to leave alone, and
  // a user's change of the run mode in the meantime survives.
  if (runMode == kRunOneRequested) {
    uint8_t requested = kRunOneRequested;
    RunMode.compare_exchange_strong(requested, kRunSingleWaiting);
  }
}

void classFtConnectThread::MemoryPass() {
  const uint16_t index = MemIndex;
  TMeasRecord* record = &MemoryRecords[index];
  uint32_t started = os::TickCount();
  ReadKalibr(record);
  if (FetchFrame(record->log2N, static_cast<uint8_t>(index + 1), frame_.get())) {
    {
      std::lock_guard<std::mutex> hold(RecordLock(*record));
      DecodeWaveformReply(frame_.get(), 1 << record->log2N, *record);
      // In this branch the cycle ends with the frame, before the arithmetic.
      CycleMs = os::TickCount() - started;
      ProcessMeasRecord(record);
    }
    Synchronize([this] { SyncShowMeasRecord(); });
  }
  // The last step, once the record has been shown: a hold between the two requests leaves this
  // slot to be fetched when the thread goes on. A slot whose length cannot be asked for is passed.
  MemIndex = static_cast<uint16_t>((index + 1) % kMemorySlots);
}

void classFtConnectThread::SyncShowMeasRecord() {
  if (SourceMode == kSourceLive) {
    host_.ShowRecord(SignalRecord);
    host_.SetCycleTimeText(IntToText(static_cast<int32_t>(CycleMs.load())) + "мс");
    host_.AddLogPoint(SignalRecord);
  }
  if (SourceMode == kSourceMemory) {
    // The slot the user selected, not necessarily the one just fetched.
    host_.ShowRecord(*CurrentSourceRecord(host_.SelectedMemorySlot()));
    host_.SetCycleTimeText(IntToText(static_cast<int32_t>(CycleMs.load())) + "мс");
  }
}

void classFtConnectThread::SyncRangeChanged() {}

void ResetConnectionStateForTests() {
  CycleMs = 0;
  LastRange = 0;
  MemIndex = 0;
}

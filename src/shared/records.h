// The program's 17 static records and the mode bytes that say which one the user looks at.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "meas_record.h"

extern TMeasRecord SignalRecord;
extern TMeasRecord FileRecord;
extern TMeasRecord MemoryRecords[kMemorySlots];

enum SourceModeValue : uint8_t { kSourceLive = 0, kSourceFile = 1, kSourceMemory = 2 };
enum RunModeValue : uint8_t {
  kRunContinuous = 0,
  kRunPaused = 1,
  kRunOneRequested = 2,
  kRunSingleWaiting = 3
};

// The source byte, atomic like the other mode bytes. Every store also tells the listener, so the
// connection thread, which does nothing while a record file is shown, can wait for a change of
// source instead of looking at the byte over and over.
class SourceModeByte {
 public:
  explicit constexpr SourceModeByte(uint8_t value) : value_(value) {}
  SourceModeByte(const SourceModeByte&) = delete;
  SourceModeByte& operator=(const SourceModeByte&) = delete;

  uint8_t load() const { return value_.load(); }
  operator uint8_t() const { return load(); }
  void store(uint8_t value);
  SourceModeByte& operator=(uint8_t value) {
    store(value);
    return *this;
  }

 private:
  std::atomic<uint8_t> value_;
};

// Called on the storing thread after every store of SourceMode; one listener at a time, nullptr
// for none. It must not store SourceMode itself.
using SourceChangeListener = void (*)(void* context);
void SetSourceChangeListener(SourceChangeListener listener, void* context);

// Written by the main thread, read by the connection thread; RunMode 2 -> 3 is a compare-and-set.
extern SourceModeByte SourceMode;
extern std::atomic<uint8_t> RunMode;
extern std::atomic<uint8_t> ServiceMode;

// The record of the current source: the live signal, the opened file, or the memory slot
// selected in the slot box (item index 0 to 14).
TMeasRecord* CurrentSourceRecord(int memSlotIndex);

// The lock of one record. The connection thread holds it while it writes into the record (never
// while it waits for the main thread); the main thread takes it to read a record outside the
// hand-over, so a save or a change of source never meets a write half done. The record is not
// always one reading: every live pass refreshes the calibration constants first, and after a
// change of range the live record holds the newer frame's raw fields beside the values of the
// last processed reading.
std::mutex& RecordLock(const TMeasRecord& record);

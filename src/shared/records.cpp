#include "records.h"

TMeasRecord SignalRecord;
TMeasRecord FileRecord;
TMeasRecord MemoryRecords[kMemorySlots];

SourceModeByte SourceMode{0};
std::atomic<uint8_t> RunMode{0};
std::atomic<uint8_t> ServiceMode{0};

namespace {

std::mutex& ListenerLock() {
  // Never destroyed: the connection thread may still wait for the source while the program ends.
  static std::mutex* const lock = new std::mutex;
  return *lock;
}

SourceChangeListener sourceListener = nullptr;
void* sourceListenerContext = nullptr;

}  // namespace

void SourceModeByte::store(uint8_t value) {
  value_.store(value);
  // Under the lock, so a listener that is being taken away is never called after it has gone.
  std::lock_guard<std::mutex> hold(ListenerLock());
  if (sourceListener)
    sourceListener(sourceListenerContext);
}

void SetSourceChangeListener(SourceChangeListener listener, void* context) {
  std::lock_guard<std::mutex> hold(ListenerLock());
  sourceListener = listener;
  sourceListenerContext = context;
}

TMeasRecord* CurrentSourceRecord(int memSlotIndex) {
  switch (SourceMode.load()) {
    case kSourceFile:
      return &FileRecord;
    case kSourceMemory:
      // The slot box always has an item selected; a stray index falls back to the first slot.
      if (memSlotIndex < 0 || memSlotIndex >= kMemorySlots)
        memSlotIndex = 0;
      return &MemoryRecords[memSlotIndex];
    default:
      return &SignalRecord;
  }
}

std::mutex& RecordLock(const TMeasRecord& record) {
  // Never destroyed: the connection thread may still write a record while the program ends.
  static std::mutex* const signalLock = new std::mutex;
  static std::mutex* const fileLock = new std::mutex;
  static std::mutex* const memoryLocks = new std::mutex[kMemorySlots];
  static std::mutex* const otherLock = new std::mutex;
  if (&record == &SignalRecord)
    return *signalLock;
  if (&record == &FileRecord)
    return *fileLock;
  if (&record >= &MemoryRecords[0] && &record < &MemoryRecords[kMemorySlots])
    return memoryLocks[&record - &MemoryRecords[0]];
  // Records of tests and tools share one lock.
  return *otherLock;
}

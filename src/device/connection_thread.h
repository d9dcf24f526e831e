// The connection thread: loads a record file named on the command line, loads the driver, opens
// the instrument and from then on polls it without pause, handing every finished record to the
// main thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "ft_transport.h"
#include "record_file.h"
#include "requests.h"
#include "thread.h"

// What the connection thread needs of the main window; the windows fill it in at start-up. Every
// call runs on the main thread.
class ConnectionHost : public RecordFileHost {
 public:
  // Appends the values of a live reading to the log window.
  virtual void AddLogPoint(const TMeasRecord& record) = 0;
  // The cycle-time label of the service panel.
  virtual void SetCycleTimeText(const std::string& text) = 0;
  // Item index of the main window's memory slot box.
  virtual int SelectedMemorySlot() = 0;
  // "Драйвер не найден!" / "Переустановите драйвер устройства!" under "Внимание!", error icon;
  // returns once the user has closed it.
  virtual void ReportMissingDriver() = 0;
};

inline constexpr char kMissingDriverText[] =
    "Драйвер не найден!\nПереустановите драйвер устройства!";
inline constexpr char kMissingDriverTitle[] = "Внимание!";

// Milliseconds of the last completed cycle; written by the thread before it hands a record over.
extern std::atomic<uint32_t> CycleMs;
// The range of the previous live frame; 0 at start. The connection thread's own.
extern uint8_t LastRange;
// Index (0 to 14) of the memory record fetched next; never reset.
extern uint16_t MemIndex;

// The value in decimal, with a minus sign when negative and no grouping.
std::string IntToText(int32_t value);

// The thread's own context for the link: its safe point, and pauses that a hold ends early.
class classFtConnectThread : public os::TThread, private LinkContext {
 public:
  // `recordFile` is the program's first command-line argument, if it has one (even an empty
  // one, which then fails to open like any other missing file).
  classFtConnectThread(bool CreateSuspended, ConnectionHost& host,
                       std::optional<std::string> recordFile);

 protected:
  void Execute() override;

 private:
  void LoadCommandLineRecordFile();
  void LivePass();
  void MemoryPass();
  void SyncShowMeasRecord();
  void SyncRangeChanged();
  // Does nothing while a record file is shown, until the source changes or a hold or the end is
  // asked for.
  void WaitWhileFileSource();
  static void WakeOnSourceChange(void* self);

  void SafePoint() override;
  void Wait(uint32_t ms) override;

  ConnectionHost& host_;
  std::optional<std::string> recordFile_;
  std::unique_ptr<uint8_t[]> frame_;
};

extern classFtConnectThread* FtConnectThread;

// Puts the thread's globals back to program start; tests only.
void ResetConnectionStateForTests();

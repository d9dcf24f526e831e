// The firmware update: reads the two image files from the program's folder, stamps their CRCs
// and exchanges them with the instrument's boot loader, reporting every step as one line in the
// update dialog's memo.
#pragma once

#include <cstdint>
#include <string>

#include "thread.h"

class SWUpdateThreadClass : public os::TThread {
 public:
  // `dialog` is the serial of the dialog whose button started the update: only that dialog, while
  // it is open, gets the lines. `driverLoaded` says whether the link may be used at all.
  SWUpdateThreadClass(bool CreateSuspended, uint32_t dialog, bool driverLoaded);

 protected:
  void Execute() override;

 private:
  bool LoadImages(uint8_t* flash, uint8_t* eeprom);
  void Exchange(const uint8_t* flash, const uint8_t* eeprom);
  bool SendImage(const char* announce, const uint8_t* image, int32_t size, const char* refused);
  bool ReadReply(uint8_t* buffer, int32_t length);
  bool StopRequested() const;
  void Say(const char* line);
  void SyncClearMemo();
  void SyncAddMessage();

  uint32_t dialog_;
  bool driverLoaded_;
};

// The update thread started last; it stays until the next press replaces it.
extern SWUpdateThreadClass* UpdateThread;
// The text of the next memo line; written by the update thread, read on the main thread while
// the thread waits in Synchronize.
extern std::string UpdateMessage;

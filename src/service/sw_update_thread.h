// The firmware update: reads the two image files from the program's folder, stamps their CRCs
// and exchanges them with the instrument's boot loader, reporting every step as one line in the
// update dialog's memo.
#pragma once

#include <cstdint>
#include <string>

#include "ft_transport.h"
#include "thread.h"

// Once the flash image has begun to go out, the update runs to its end or its first failure,
// whatever happens to its dialog: a boot loader left half-fed would wait for the rest. Until then
// a request to stop (the dialog closing) ends it at its next step. Asked to stop, it also gives up
// a wait for a lost link, and a read that the boot loader left unanswered for a whole time-out.
class SWUpdateThreadClass : public os::TThread, private LinkContext {
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
  bool Connect();
  bool Write(const uint8_t* bytes, int32_t size);
  bool StopRequested() const;
  // The link's loops see this context only while the update reconnects or writes, so that a
  // lost link is given up on once the update is asked to stop; reads wait inside the driver.
  void SafePoint() override {}
  void Wait(uint32_t ms) override;
  bool GiveUpLostLink() override;
  void Say(const char* line);
  void SyncClearMemo();
  void SyncAddMessage();

  uint32_t dialog_;
  bool driverLoaded_;
  // Set on the update's own thread once the flash image is about to go out.
  bool imageBegun_ = false;
};

// The update thread started last; it stays until the next press replaces it.
extern SWUpdateThreadClass* UpdateThread;

// For a dialog about to take the link (the update dialog opened again, the identity dialog):
// returns once the update started last has ended, at once when there is none. Its dialog has
// closed and asked it to stop, so one whose image had begun goes on to its end and one that
// waited for the boot loader or for a lost link ends at its next step. Main thread only: its
// synchronised calls run and the windows are painted meanwhile; no input reaches them.
void WaitForEarlierUpdate();

// The text of the next memo line; written by the update thread, read on the main thread while
// the thread waits in Synchronize.
extern std::string UpdateMessage;

// How a service utility on the main thread takes the instrument link from the connection thread
// and gives it back. The suspensions are counted, as the thread's own Suspend and Resume count
// them: the identity dialog holds while it is open, the firmware update holds once a press of its
// button and releases once an opening of its dialog.
#pragma once

enum class ConnectionHold {
  // The thread stands at a safe point (or has ended, or does not exist) and the driver is loaded:
  // the link is the caller's, each driver call sequence under FtLinkLock().
  kHeld,
  // Held as above, but the driver library is not loaded: make no driver call.
  kHeldWithoutDriver,
  // Asked inside one of the connection thread's own synchronised calls, where waiting for the
  // hold would never end: nothing was taken, and nothing is to be released.
  kRefused,
};

// Main thread only. Raises the connection thread's suspension count and returns once the thread
// is held, running its synchronised calls and keeping the windows painted meanwhile (no input
// reaches them). Never call it while holding a record's lock: the thread may need that lock before
// it reaches its safe point.
ConnectionHold HoldConnectionThread();

// Lowers the suspension count; the thread goes on once it is 0. At count 0 it does nothing.
void ReleaseConnectionThread();

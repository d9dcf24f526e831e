#include "connection_hold.h"

#include "connection_thread.h"
#include "ft_transport.h"

ConnectionHold HoldConnectionThread() {
  if (FtConnectThread) {
    // The thread waits for this very call to end: it could never reach a safe point.
    if (FtConnectThread->InSynchronize())
      return ConnectionHold::kRefused;
    FtConnectThread->Suspend();
    FtConnectThread->WaitUntilHeld();
  }
  return FtDriverLoaded() ? ConnectionHold::kHeld : ConnectionHold::kHeldWithoutDriver;
}

void ReleaseConnectionThread() {
  if (FtConnectThread)
    FtConnectThread->Resume();
}

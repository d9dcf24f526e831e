#include "connection_hold.h"

#include "connection_thread.h"
#include "ft_transport.h"

bool HoldConnectionThread() {
  if (FtConnectThread != nullptr) {
    FtConnectThread->Suspend();
    FtConnectThread->WaitUntilHeld();
  }
  return FtDriverLoaded();
}

void ReleaseConnectionThread() {
  if (FtConnectThread != nullptr)
    FtConnectThread->Resume();
}

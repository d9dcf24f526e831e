// What the main thread does while it waits for a worker (a utility waiting for the hold of the
// connection thread, say): its windows keep painting and the worker's synchronised calls keep
// running, but no input is dispatched, so no other command can start meanwhile.
#include <windows.h>

#include "backend.h"
#include "messages.h"
#include "peer.h"
#include "thread.h"

namespace ui::peer {

void WaitForMainThreadWork(uint32_t timeoutMs) {
  // Messages sent from other threads are handled inside the wait and PeekMessage themselves.
  ::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs,
                              QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE);
  MSG message;
  bool woken = false;
  while (::PeekMessageW(&message, win32::MessageWindow(), win32::kWakeMessage, win32::kWakeMessage,
                        PM_REMOVE)) {
    woken = true;
  }
  if (woken)
    os::CheckSynchronize();
  win32::DispatchWaitingPaints();
}

}  // namespace ui::peer

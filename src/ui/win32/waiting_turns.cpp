// Paints and timers come from the message queue only when nothing was posted to it, and every
// synchronised call of a worker posts a message: calls that come back to back (a fast instrument,
// a slow redraw) would keep the windows from painting and the timers from running for as long as
// they came. So after its synchronised calls the main thread gives them their turn itself: every
// kRoundMs a round begins that runs the timers due and then, one window a call, paints what waits
// in each top-level window of the thread (ours, and message boxes or file dialogs over them). One
// window's painting at a time runs while the worker gets its next call ready, so the calls keep
// nearly their pace, and every window shows a change well within 100 ms.
#include <windows.h>

#include <vector>

#include "backend.h"
#include "clock.h"

namespace ui::win32 {
namespace {

constexpr uint32_t kRoundMs = 30;
// A window whose painting leaves it invalid would be handed back at once: a few a wait at most.
constexpr int kMaxPaintsPerWait = 256;
constexpr int kMaxTimersPerRound = 8;

uint32_t roundStarted = 0;
// The top-level windows this round has still to paint, the next one last.
std::vector<HWND> roundWindows;

// Dispatches up to limit waiting messages from first to last (any window of this thread).
void DispatchWaiting(UINT first, UINT last, int limit) {
  MSG message;
  for (int i = 0; i < limit && ::PeekMessageW(&message, nullptr, first, last, PM_REMOVE); ++i)
    ::DispatchMessageW(&message);
}

BOOL CALLBACK CollectShownWindow(HWND window, LPARAM list) {
  if (::IsWindowVisible(window))
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

}  // namespace

void DispatchWaitingPaints() {
  DispatchWaiting(WM_PAINT, WM_PAINT, kMaxPaintsPerWait);
}

// A timer's handler may run a message loop of its own (a message box): the turns go on in it, so
// the round's state is settled before anything is dispatched.
void GiveWaitingMessagesTheirTurn() {
  const uint32_t now = os::TickCount();
  if (roundWindows.empty() && now - roundStarted >= kRoundMs) {
    roundStarted = now;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectShownWindow,
                        reinterpret_cast<LPARAM>(&roundWindows));
    DispatchWaiting(WM_TIMER, WM_TIMER, kMaxTimersPerRound);
    return;
  }
  if (roundWindows.empty())
    return;
  HWND window = roundWindows.back();
  roundWindows.pop_back();
  // Only what waits is painted: the window and every window on it with an update region.
  if (::IsWindow(window))
    ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace ui::win32

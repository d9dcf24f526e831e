// What the Win32 back end's files share: the window class of our own windows, the control of a
// window, and the guard that keeps window-to-model updates from echoing back.
#pragma once

#include <windows.h>

#include "component.h"

namespace ui::win32 {

extern const wchar_t kWindowClass[];

// Registers kWindowClass once.
void RegisterWindowClass();
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The control whose window (or radio button) this is, or nullptr.
TControl* ControlOf(HWND window);

// True while the back end copies a window's state into the model.
bool Syncing();
class SyncScope {
 public:
  SyncScope();
  ~SyncScope();
};

// The hidden window that receives timers and the wake message.
HWND MessageWindow();
// Runs a timer's expiry by its number.
void TickTimer(UINT_PTR id);
// Index of a radio group's button, or -1.
int RadioButtonIndex(TControl& group, HWND button);
// Copies a top-level window's state (normal, maximised, minimised) and, unless minimised, its
// rectangle into its form.
void SyncFormBounds(TControl& form);
// Handles a key as a main-menu short-cut of the form it belongs to; true when it did.
bool DispatchShortCut(const MSG& message);

}  // namespace ui::win32

// What the Win32 back end's files share: the window class of our own windows, the control of a
// window, and the guard that keeps window-to-model updates from echoing back.
#pragma once

#include <windows.h>

#include "form.h"

namespace ui::win32 {

extern const wchar_t kWindowClass[];

// Registers kWindowClass once.
void RegisterWindowClass();
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A control of our own window class drawn from the model into dc in one copy: what its window
// shows (DrawControl, for a print too), and on the window's own device context, what it shows
// when painted (PaintControl).
void DrawControl(TControl& control, HWND window, HDC dc);
void PaintControl(TControl& control, HWND window, HDC dc);
// Draws a shown label's window at once, as its paint would.
void DrawLabelNow(TControl& label);
// A child window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);

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
// Windows' paints waiting, dispatched now.
void DispatchWaitingPaints();
// After synchronised calls: the timers due and the windows' paints waiting get their turn, a
// little at a time, however fast the calls come.
void GiveWaitingMessagesTheirTurn();
// Runs a timer's expiry by its number.
void TickTimer(UINT_PTR id);
// Index of a radio group's button, or -1.
int RadioButtonIndex(TControl& group, HWND button);
// Copies a top-level window's state (normal, maximised, minimised) and, unless minimised, its
// rectangle into its form.
void SyncFormBounds(TControl& form);
// The control whose window is being made right now, or nullptr.
TControl* ControlBeingMade();
// The font made for a control's window, or nullptr.
HFONT FontOf(const TControl& control);
// The radio button of a group's item, or nullptr.
HWND RadioButton(TControl& group, int index);

// Takes a key before the focused control does, as the platform's forms do (short-cuts, Tab,
// Enter, Esc); true when it was used and must not reach the control.
bool HandleKey(const MSG& message);
// Gives a control's window the focus (a radio group's: its selected button).
void Focus(TControl& control);
// A form's activation: the control that had the focus gets it back, or else the first control
// in tab order; false when the form's own window is to take it. Deactivated, the form notes its
// focused control.
bool FormActivated(TForm& form, bool active);
void ForgetFocus(HWND form);

}  // namespace ui::win32

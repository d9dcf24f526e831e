// The keyboard as the platform's forms take it, before the focused control sees a key: the main
// menu's short-cuts in every window of the program, Tab and Shift+Tab between the controls,
// Enter and Esc for a form's default and cancel buttons; and the focus given back to a form's
// control when the form is activated.
#include <map>

#include "application.h"
#include "backend.h"
#include "form.h"
#include "item_controls.h"
#include "menu.h"

namespace ui::win32 {
namespace {

// The control that had the focus when its form was last deactivated, by form window.
std::map<HWND, HWND> lastFocus;

TForm* FormOf(HWND window) {
  TControl* control = ControlOf(::GetAncestor(window, GA_ROOT));
  return control && control->Kind() == ControlKind::Form ? static_cast<TForm*>(control) : nullptr;
}

bool Held(int key) {
  return (::GetKeyState(key) & 0x8000) != 0;
}

bool DispatchShortCut(TForm& form, WPARAM key) {
  const auto shortCut = static_cast<TShortCut>(scCtrl | (key & 0xFF));
  if (form.Menu() && form.Menu()->DispatchShortCut(shortCut))
    return true;
  // The main menu's commands serve every window of the program, unless a modal form holds the
  // main window.
  TForm* main = Application->MainForm();
  if (!main || main == &form || !main->Menu() || !main->Handle() ||
      !::IsWindowEnabled(static_cast<HWND>(main->Handle())))
    return false;
  return main->Menu()->DispatchShortCut(shortCut);
}

// An open drop-down list takes Enter and Esc itself, to close.
bool ListOpen(TControl* control) {
  return control && control->Kind() == ControlKind::ComboBox &&
         ::SendMessageW(static_cast<HWND>(control->Handle()), CB_GETDROPPEDSTATE, 0, 0);
}

}  // namespace

bool HandleKey(const MSG& message) {
  if (message.message != WM_KEYDOWN)
    return false;
  TForm* form = FormOf(message.hwnd);
  if (!form)
    return false;
  if (Held(VK_CONTROL))
    return message.wParam != VK_TAB && DispatchShortCut(*form, message.wParam);
  TControl* focused = ControlOf(::GetFocus());
  switch (message.wParam) {
    case VK_TAB:
      return form->DialogKey(Held(VK_SHIFT) ? TDialogKey::ShiftTab : TDialogKey::Tab, focused);
    case VK_RETURN:
      return !ListOpen(focused) && form->DialogKey(TDialogKey::Enter, focused);
    case VK_ESCAPE:
      return !ListOpen(focused) && form->DialogKey(TDialogKey::Escape, focused);
    default:
      return false;
  }
}

void Focus(TControl& control) {
  HWND window = static_cast<HWND>(control.Handle());
  // A radio group's focus is on its selected button, or on its first.
  if (control.Kind() == ControlKind::RadioGroup) {
    HWND button = RadioButton(control, static_cast<TRadioGroup&>(control).ItemIndex());
    window = button ? button : RadioButton(control, 0);
  }
  if (window)
    ::SetFocus(window);
}

bool FormActivated(TForm& form, bool active) {
  HWND window = static_cast<HWND>(form.Handle());
  if (!active) {
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(window, focus))
      lastFocus[window] = focus;
    return false;
  }
  auto found = lastFocus.find(window);
  if (found != lastFocus.end() && ::IsWindow(found->second) && ::IsChild(window, found->second) &&
      ::IsWindowVisible(found->second) && ::IsWindowEnabled(found->second)) {
    ::SetFocus(found->second);
    return true;
  }
  TControl* first = form.NextTabStop(nullptr, true);
  if (!first)
    return false;
  Focus(*first);
  return true;
}

void ForgetFocus(HWND form) {
  lastFocus.erase(form);
}

}  // namespace ui::win32

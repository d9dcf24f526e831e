// The window procedure of our own windows: a dispatch table, one line per message, each calling
// an On handler. No exception leaves it: the application's exception box shows it.
#include <windowsx.h>

#include "application.h"
#include "backend.h"
#include "controls.h"
#include "item_controls.h"
#include "menu.h"
#include "messages.h"
#include "text.h"
#include "text_controls.h"
#include "thread.h"

namespace ui::win32 {
namespace {

LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  HWND from = reinterpret_cast<HWND>(lParam);
  if (!from) {
    // A menu command.
    if (TMenuItem* item = TMenuItem::FindByCommand(LOWORD(wParam)))
      item->Click();
    return 0;
  }
  TControl* control = ControlOf(from);
  if (!control)
    return ::DefWindowProcW(window, WM_COMMAND, wParam, lParam);
  const WORD code = HIWORD(wParam);
  switch (control->Kind()) {
    case ControlKind::Button:
      if (code == BN_CLICKED)
        static_cast<TButton*>(control)->Click();
      break;
    case ControlKind::CheckBox:
      if (code == BN_CLICKED)
        static_cast<TCheckBox*>(control)->Toggle();
      break;
    case ControlKind::RadioGroup:
      if (code == BN_CLICKED)
        static_cast<TRadioGroup*>(control)->SetItemIndex(RadioButtonIndex(*control, from));
      break;
    case ControlKind::ComboBox:
      if (code == CBN_SELCHANGE)
        static_cast<TComboBox*>(control)->SelectByUser(
            static_cast<int>(::SendMessageW(from, CB_GETCURSEL, 0, 0)));
      break;
    default:
      break;
  }
  return 0;
}

LRESULT OnClose(TControl& control) {
  if (control.Kind() == ControlKind::Form)
    static_cast<TForm&>(control).Close();
  return 0;
}

LRESULT OnWindowPosChanged(TControl& control, HWND window, WPARAM wParam, LPARAM lParam) {
  if (control.Kind() == ControlKind::Form)
    SyncFormBounds(control);
  return ::DefWindowProcW(window, WM_WINDOWPOSCHANGED, wParam, lParam);
}

LRESULT OnGetMinMaxInfo(TControl& control, LPARAM lParam) {
  if (control.Kind() != ControlKind::Form)
    return 0;
  auto& form = static_cast<TForm&>(control);
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, form.MinWidth());
  info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, form.MinHeight());
  return 0;
}

LRESULT OnPaint(TControl& control, HWND window) {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(window, &paint);
  PaintControl(control, window, dc);
  ::EndPaint(window, &paint);
  return 0;
}

// The window drawn into a device context of the caller's (a print or a test).
LRESULT OnPrintClient(TControl& control, HWND window, WPARAM wParam) {
  DrawControl(control, window, reinterpret_cast<HDC>(wParam));
  return 0;
}

// Check boxes take their font colour from the model.
LRESULT OnControlColor(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TControl* child = ControlOf(reinterpret_cast<HWND>(lParam));
  if (!child)
    return ::DefWindowProcW(window, message, wParam, lParam);
  HDC dc = reinterpret_cast<HDC>(wParam);
  ::SetBkMode(dc, TRANSPARENT);
  TColor color = child->Font().color;
  ::SetTextColor(dc, color == clDefault ? ::GetSysColor(COLOR_WINDOWTEXT) : color);
  return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
}

// A drop-down list with items of a fixed height: the height, for the items and for the box.
LRESULT OnMeasureItem(HWND window, WPARAM wParam, LPARAM lParam) {
  auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
  TControl* control = ControlBeingMade();
  if (measure->CtlType != ODT_COMBOBOX || !control || control->Kind() != ControlKind::ComboBox)
    return ::DefWindowProcW(window, WM_MEASUREITEM, wParam, lParam);
  measure->itemHeight = static_cast<UINT>(static_cast<TComboBox*>(control)->ItemHeight());
  return TRUE;
}

// An item of such a list, or the box's selected item: its plain text.
LRESULT OnDrawItem(HWND window, WPARAM wParam, LPARAM lParam) {
  auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
  TControl* control = ControlOf(item->hwndItem);
  if (item->CtlType != ODT_COMBOBOX || !control || control->Kind() != ControlKind::ComboBox)
    return ::DefWindowProcW(window, WM_DRAWITEM, wParam, lParam);
  const auto& items = static_cast<TComboBox*>(control)->Items();
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  HDC dc = item->hDC;
  ::FillRect(dc, &item->rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item->itemID < items.size()) {
    HGDIOBJ oldFont = ::SelectObject(
        dc, FontOf(*control) ? FontOf(*control) : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text = item->rcItem;
    text.left += 2;
    ::DrawTextW(dc, os::Utf8ToWide(items[item->itemID]).c_str(), -1, &text,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    ::SelectObject(dc, oldFont);
  }
  if (item->itemState & ODS_FOCUS)
    ::DrawFocusRect(dc, &item->rcItem);
  return TRUE;
}

LRESULT OnContextMenu(WPARAM wParam, LPARAM lParam) {
  HWND target = reinterpret_cast<HWND>(wParam);
  TControl* control = ControlOf(target);
  if (!control)
    return 0;
  POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  // From the keyboard: the control's top-left corner.
  if (screen.x == -1 && screen.y == -1) {
    screen = {0, 0};
    ::ClientToScreen(target, &screen);
  }
  POINT local = screen;
  ::ScreenToClient(target, &local);
  // The model runs the control's handler and pop-up menu itself. The message is not passed on:
  // the parent would get it with the same control and run the handler a second time.
  control->ContextPopup({local.x, local.y}, {screen.x, screen.y});
  return 0;
}

LRESULT OnMouseMove(TControl& control, LPARAM lParam) {
  if (control.Kind() == ControlKind::PaintBox)
    static_cast<TPaintControl&>(control).MouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  return 0;
}

LRESULT OnButtonDown(TControl& control, HWND window) {
  if (control.Kind() == ControlKind::PaintBox)
    ::SetFocus(window);
  return 0;
}

LRESULT OnFocus(TControl& control, bool gained) {
  if (control.Kind() != ControlKind::PaintBox)
    return 0;
  auto& paint = static_cast<TPaintControl&>(control);
  if (gained) {
    paint.FocusEnter();
  } else {
    paint.FocusExit();
  }
  return 0;
}

LRESULT OnActivate(TControl& control, HWND window, WPARAM wParam, LPARAM lParam) {
  const bool active = LOWORD(wParam) != WA_INACTIVE;
  // A minimised window activated keeps the focus on itself.
  if (control.Kind() == ControlKind::Form && !(active && HIWORD(wParam)) &&
      FormActivated(static_cast<TForm&>(control), active))
    return 0;
  return ::DefWindowProcW(window, WM_ACTIVATE, wParam, lParam);
}

// The hidden message window: timers and the main thread's synchronised calls.
LRESULT MessageWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      return TickTimer(wParam), 0;
    case kWakeMessage:
      os::CheckSynchronize();
      GiveWaitingMessagesTheirTurn();
      return 0;
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT Dispatch(TControl& c, HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      return OnCommand(w, wParam, lParam);
    case WM_CLOSE:
      return OnClose(c);
    case WM_WINDOWPOSCHANGED:
      return OnWindowPosChanged(c, w, wParam, lParam);
    case WM_GETMINMAXINFO:
      return OnGetMinMaxInfo(c, lParam);
    case WM_PAINT:
      return OnPaint(c, w);
    case WM_PRINTCLIENT:
      return OnPrintClient(c, w, wParam);
    case WM_ERASEBKGND:
      return 1;
    case WM_CTLCOLORSTATIC:
      return OnControlColor(w, message, wParam, lParam);
    case WM_CTLCOLORBTN:
      return OnControlColor(w, message, wParam, lParam);
    case WM_MEASUREITEM:
      return OnMeasureItem(w, wParam, lParam);
    case WM_DRAWITEM:
      return OnDrawItem(w, wParam, lParam);
    case WM_CONTEXTMENU:
      return OnContextMenu(wParam, lParam);
    case WM_MOUSEMOVE:
      return OnMouseMove(c, lParam);
    case WM_LBUTTONDOWN:
      return OnButtonDown(c, w);
    case WM_ACTIVATE:
      return OnActivate(c, w, wParam, lParam);
    case WM_SETFOCUS:
      return OnFocus(c, true);
    case WM_KILLFOCUS:
      return OnFocus(c, false);
    default:
      return ::DefWindowProcW(w, message, wParam, lParam);
  }
}

}  // namespace

const wchar_t kWindowClass[] = L"VrxWindow";

void RegisterWindowClass() {
  static bool registered = false;
  if (registered)
    return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = &WindowProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hIcon = ::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  windowClass.lpszClassName = kWindowClass;
  ::RegisterClassExW(&windowClass);
  registered = true;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (window == MessageWindow())
      return MessageWindowProc(window, message, wParam, lParam);
    TControl* control = reinterpret_cast<TControl*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!control)
      return ::DefWindowProcW(window, message, wParam, lParam);
    return Dispatch(*control, window, message, wParam, lParam);
  } catch (...) {
    Application->ShowCurrentException();
    return 0;
  }
}

}  // namespace ui::win32

// The Win32 back end: every control becomes a real window, property changes reach it, and the
// message loop runs the events.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <vector>

#include "application.h"
#include "backend.h"
#include "controls.h"
#include "form.h"
#include "gdi_canvas.h"
#include "item_controls.h"
#include "menu.h"
#include "messages.h"
#include "peer.h"
#include "text.h"
#include "text_controls.h"
#include "thread.h"
#include "timer.h"

namespace ui::win32 {
namespace {

int syncDepth = 0;
// The control whose window CreateWindowExW is making: a list with items of a fixed height asks
// its parent for their height before the back end knows its window.
TControl* beingMade = nullptr;
// Every window the back end made, with its control (radio buttons with their group).
std::map<HWND, TControl*> windows;
std::map<TControl*, HFONT> fonts;
std::map<TControl*, std::vector<HWND>> radioButtons;
std::map<UINT_PTR, TTimer*> timers;

HWND Window(const TControl& control) {
  return static_cast<HWND>(control.Handle());
}

DWORD FormStyle(const TForm& form) {
  DWORD style = WS_CLIPCHILDREN;
  if (form.BorderStyle() == TFormBorderStyle::bsDialog) {
    style |= WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  } else {
    style |= WS_OVERLAPPEDWINDOW;
  }
  if (form.CloseBoxOnly())
    style &= ~static_cast<DWORD>(WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  return style;
}

DWORD FormExStyle(const TForm& form) {
  DWORD style = 0;
  if (form.BorderStyle() == TFormBorderStyle::bsSizeToolWin)
    style |= WS_EX_TOOLWINDOW;
  if (form.BorderStyle() == TFormBorderStyle::bsDialog)
    style |= WS_EX_DLGMODALFRAME;
  if (form.DoubleBuffered())
    style |= WS_EX_COMPOSITED;
  return style;
}

void AppendItems(HMENU menu, TMenuItem& parent) {
  for (TMenuItem* item : parent.Items()) {
    if (!item->Visible())
      continue;
    if (item->Caption() == "-") {
      ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::string caption = item->Caption();
    if (item->ShortCut())
      caption += "\t" + ShortCutToText(item->ShortCut());
    std::wstring text = os::Utf8ToWide(caption);
    if (!item->Items().empty()) {
      HMENU sub = ::CreatePopupMenu();
      AppendItems(sub, *item);
      ::AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), text.c_str());
      continue;
    }
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
    info.fType = MFT_STRING | (item->RadioItem() ? MFT_RADIOCHECK : 0);
    info.fState = item->Checked() ? MFS_CHECKED : MFS_UNCHECKED;
    info.wID = item->Command();
    info.dwTypeData = text.data();
    ::InsertMenuItemW(menu, ::GetMenuItemCount(menu), TRUE, &info);
  }
}

HMENU BuildMenu(TMenu& menu) {
  HMENU handle = menu.IsPopup() ? ::CreatePopupMenu() : ::CreateMenu();
  AppendItems(handle, *menu.Items());
  return handle;
}

// Menus cannot be read from another process everywhere, so the form's window also names each
// shown item of its main menu: property "VrxMenu:" + the captions from the top separated by "/",
// holding the command number, plus 0x10000 when the item is checked.
std::map<HWND, std::vector<std::wstring>> menuProperties;

void PublishMenuItems(HWND window, TMenuItem& parent, const std::wstring& path) {
  for (TMenuItem* item : parent.Items()) {
    if (!item->Visible() || item->Caption() == "-")
      continue;
    std::wstring name = path + os::Utf8ToWide(item->Caption());
    if (!item->Items().empty()) {
      PublishMenuItems(window, *item, name + L"/");
      continue;
    }
    ULONG_PTR value = item->Command() | (item->Checked() ? 0x10000u : 0u);
    ::SetPropW(window, name.c_str(), reinterpret_cast<HANDLE>(value));
    menuProperties[window].push_back(name);
  }
}

void PublishMenu(HWND window, TMainMenu* menu) {
  for (const std::wstring& name : menuProperties[window])
    ::RemovePropW(window, name.c_str());
  menuProperties.erase(window);
  if (menu)
    PublishMenuItems(window, *menu->Items(), L"VrxMenu:");
}

// The form's main menu is made anew from the model whenever an item changes.
void InstallMenu(TForm& form) {
  HWND window = Window(form);
  if (!window)
    return;
  PublishMenu(window, form.Menu());
  HMENU old = ::GetMenu(window);
  HMENU made = form.Menu() ? BuildMenu(*form.Menu()) : nullptr;
  ::SetMenu(window, made);
  if (old)
    ::DestroyMenu(old);
  if (form.Menu())
    form.Menu()->Items()->SetHandle(made);
  ::DrawMenuBar(window);
  // A menu bar added or removed changes the client area: the aligned controls follow it.
  form.Realign();
}

void MakeRadioButtons(TRadioGroup& group) {
  for (HWND button : radioButtons[&group]) {
    windows.erase(button);
    ::DestroyWindow(button);
  }
  radioButtons[&group].clear();
  const int count = static_cast<int>(group.Items().size());
  for (int i = 0; i < count; ++i) {
    // Items share the height below the caption evenly.
    int top = 16 + i * std::max(1, (group.Height() - 20) / std::max(1, count));
    HWND button = ::CreateWindowExW(
        0, L"BUTTON", os::Utf8ToWide(group.Items()[static_cast<std::size_t>(i)]).c_str(),
        WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON, 8, top, group.Width() - 16, 17, Window(group),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)), ::GetModuleHandleW(nullptr), nullptr);
    windows[button] = &group;
    auto found = fonts.find(&group);
    if (found != fonts.end())
      ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(found->second), TRUE);
    ::SendMessageW(button, BM_SETCHECK, i == group.ItemIndex() ? BST_CHECKED : BST_UNCHECKED, 0);
    radioButtons[&group].push_back(button);
  }
}

void PushAll(TControl& control);

// Another process (the end-to-end driver) finds a control by its component name: the name is a
// global atom, which every process can read, kept in a property of the control's window.
const wchar_t kComponentProperty[] = L"VrxComponent";

void TagWindow(HWND window, const TComponent& component) {
  if (component.Name().empty())
    return;
  ATOM atom = ::GlobalAddAtomW(os::Utf8ToWide(component.Name()).c_str());
  if (atom)
    ::SetPropW(window, kComponentProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(atom)));
}

void UntagWindow(HWND window) {
  auto atom =
      static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(::RemovePropW(window, kComponentProperty)));
  if (atom)
    ::GlobalDeleteAtom(atom);
}

void CreateControlWindow(TControl& control) {
  const TRect r = control.BoundsRect();
  HWND parent = control.Parent() ? Window(*control.Parent()) : nullptr;
  const wchar_t* windowClass = kWindowClass;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD exStyle = 0;
  switch (control.Kind()) {
    case ControlKind::Label:
      // Drawn by our own window class, so that a new text replaces the old in one copy.
      break;
    case ControlKind::Button:
      windowClass = L"BUTTON";
      style |= BS_PUSHBUTTON | WS_TABSTOP;
      break;
    case ControlKind::CheckBox:
      windowClass = L"BUTTON";
      style |= BS_CHECKBOX | WS_TABSTOP;
      break;
    case ControlKind::ComboBox:
      windowClass = L"COMBOBOX";
      style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
      if (static_cast<TComboBox&>(control).ItemHeight() > 0)
        style |= CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
      break;
    case ControlKind::Memo:
      windowClass = L"EDIT";
      style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::StatusBar:
      // The bar takes the place the form's layout gives it, as every aligned control does.
      windowClass = STATUSCLASSNAMEW;
      style |= CCS_NORESIZE | CCS_NOPARENTALIGN;
      break;
    default:
      style |= WS_CLIPCHILDREN;
      break;
  }
  // A drop-down list's height includes its open list.
  int height = control.Kind() == ControlKind::ComboBox ? 200 : r.bottom - r.top;
  beingMade = &control;
  HWND window =
      ::CreateWindowExW(exStyle, windowClass, nullptr, style, r.left, r.top, r.right - r.left,
                        height, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  beingMade = nullptr;
  ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&control));
  windows[window] = &control;
  TagWindow(window, control);
  control.SetHandle(window);
}

void CreateFormWindow(TForm& form) {
  RegisterWindowClass();
  // A modal form stays in front of the main window, as a dialog does. The other windows are the
  // main window's peers: the one the user clicks comes to the front.
  TForm* main = Application->MainForm();
  HWND owner = form.Modal() && main && main != &form ? Window(*main) : nullptr;
  const TRect r = form.BoundsRect();
  HWND window =
      ::CreateWindowExW(FormExStyle(form), kWindowClass, os::Utf8ToWide(form.Caption()).c_str(),
                        FormStyle(form), r.left, r.top, r.right - r.left, r.bottom - r.top, owner,
                        nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&form));
  windows[window] = &form;
  TagWindow(window, form);
  form.SetHandle(window);
}

// Makes the windows that a control and its children lack and gives each new one the model's
// state. A window made before keeps its own: its changes have reached it one by one, and pushing
// them again would undo what the window became since (a placement applied to it).
void Make(TControl& control) {
  const bool made = !control.Handle();
  if (made) {
    if (control.Kind() == ControlKind::Form) {
      CreateFormWindow(static_cast<TForm&>(control));
    } else {
      CreateControlWindow(control);
    }
  }
  for (TControl* child : control.Controls())
    Make(*child);
  if (made)
    PushAll(control);
}

void ShowState(TControl& control) {
  HWND window = Window(control);
  if (control.Kind() != ControlKind::Form) {
    ::ShowWindow(window, control.Visible() ? SW_SHOWNA : SW_HIDE);
    return;
  }
  auto& form = static_cast<TForm&>(control);
  if (!form.Visible()) {
    ::ShowWindow(window, SW_HIDE);
    return;
  }
  switch (form.WindowState()) {
    case TWindowState::wsMaximized:
      ::ShowWindow(window, SW_SHOWMAXIMIZED);
      break;
    case TWindowState::wsMinimized:
      ::ShowWindow(window, SW_SHOWMINIMIZED);
      break;
    default:
      ::ShowWindow(window, ::IsZoomed(window) || ::IsIconic(window) ? SW_RESTORE : SW_SHOW);
      break;
  }
}

void PushAll(TControl& control) {
  for (int property :
       {peer::kFont, peer::kCaption, peer::kBounds, peer::kItems, peer::kItemIndex, peer::kChecked,
        peer::kLines, peer::kPanels, peer::kMenu, peer::kEnabled, peer::kVisible}) {
    peer::Update(control, property);
  }
}

void SetFont(TControl& control) {
  HWND window = Window(control);
  HFONT font = MakeFont(control.Font());
  ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  for (HWND button : radioButtons[&control])
    ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  auto found = fonts.find(&control);
  if (found != fonts.end())
    ::DeleteObject(found->second);
  fonts[&control] = font;
}

void SetItems(TControl& control) {
  HWND window = Window(control);
  if (control.Kind() == ControlKind::RadioGroup) {
    MakeRadioButtons(static_cast<TRadioGroup&>(control));
  } else if (control.Kind() == ControlKind::ComboBox) {
    ::SendMessageW(window, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : static_cast<TComboBox&>(control).Items())
      ::SendMessageW(window, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(os::Utf8ToWide(item).c_str()));
  }
}

void SetItemIndex(TControl& control) {
  if (control.Kind() == ControlKind::ComboBox) {
    ::SendMessageW(Window(control), CB_SETCURSEL,
                   static_cast<WPARAM>(static_cast<TComboBox&>(control).ItemIndex()), 0);
  } else if (control.Kind() == ControlKind::RadioGroup) {
    int index = static_cast<TRadioGroup&>(control).ItemIndex();
    const auto& buttons = radioButtons[&control];
    for (std::size_t i = 0; i < buttons.size(); ++i)
      ::SendMessageW(buttons[i], BM_SETCHECK,
                     static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void SetLines(TControl& control) {
  auto& memo = static_cast<TMemo&>(control);
  std::string text;
  for (const std::string& line : memo.Lines())
    text += (text.empty() ? "" : "\r\n") + line;
  ::SendMessageW(Window(control), EM_SETREADONLY, memo.ReadOnly(), 0);
  ::SetWindowTextW(Window(control), os::Utf8ToWide(text).c_str());
}

void SetPanels(TControl& control) {
  auto& bar = static_cast<TStatusBar&>(control);
  std::vector<int> edges;
  int right = 0;
  for (const TStatusPanel& panel : bar.Panels())
    edges.push_back(right += panel.width);
  // The last panel spans the bar.
  if (!edges.empty())
    edges.back() = -1;
  HWND window = Window(control);
  ::SendMessageW(window, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (std::size_t i = 0; i < bar.Panels().size(); ++i)
    ::SendMessageW(window, SB_SETTEXTW, i,
                   reinterpret_cast<LPARAM>(os::Utf8ToWide(bar.Panels()[i].text).c_str()));
}

void SetBoundsOf(TControl& control) {
  const TRect r = control.BoundsRect();
  int height = control.Kind() == ControlKind::ComboBox ? 200 : r.bottom - r.top;
  ::SetWindowPos(Window(control), nullptr, r.left, r.top, r.right - r.left, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceWithoutDrawing(HWND window, const RECT& r) {
  ::SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS);
}

// A label's text and box reach the screen as one change, however far the box moves or however
// much it grows or shrinks: the window first spans its old and its new box (nothing on the screen
// changes), then draws itself there in one copy (the new text at its new place, the label's
// background around it), then takes its new box (nothing changes again). No moment shows a text
// cut by a box too small for it, or what is left of the earlier text.
void ShowLabel(TControl& label) {
  HWND window = Window(label);
  const TRect b = label.BoundsRect();
  const RECT box{b.left, b.top, b.right, b.bottom};
  if (!::IsWindowVisible(window)) {
    PlaceWithoutDrawing(window, box);
    ::InvalidateRect(window, nullptr, FALSE);
    return;
  }
  const RECT old = RectInParent(window);
  RECT both;
  ::UnionRect(&both, &old, &box);
  if (!::EqualRect(&both, &old))
    PlaceWithoutDrawing(window, both);
  DrawLabelNow(label);
  if (::EqualRect(&both, &box))
    return;
  PlaceWithoutDrawing(window, box);
  // What the label leaves shows its background already; the parent draws its own there later.
  HRGN left = ::CreateRectRgnIndirect(&both);
  HRGN kept = ::CreateRectRgnIndirect(&box);
  ::CombineRgn(left, left, kept, RGN_DIFF);
  ::InvalidateRgn(::GetParent(window), left, FALSE);
  ::DeleteObject(kept);
  ::DeleteObject(left);
}

}  // namespace

bool Syncing() {
  return syncDepth > 0;
}
SyncScope::SyncScope() {
  ++syncDepth;
}
SyncScope::~SyncScope() {
  --syncDepth;
}

RECT RectInParent(HWND child) {
  RECT r;
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TControl* ControlOf(HWND window) {
  auto found = windows.find(window);
  return found == windows.end() ? nullptr : found->second;
}

int RadioButtonIndex(TControl& group, HWND button) {
  const auto& buttons = radioButtons[&group];
  auto found = std::find(buttons.begin(), buttons.end(), button);
  return found == buttons.end() ? -1 : static_cast<int>(found - buttons.begin());
}

void SyncFormBounds(TControl& control) {
  auto& form = static_cast<TForm&>(control);
  HWND window = Window(form);
  SyncScope scope;
  form.SetWindowState(::IsZoomed(window)   ? TWindowState::wsMaximized
                      : ::IsIconic(window) ? TWindowState::wsMinimized
                                           : TWindowState::wsNormal);
  // A minimised window's rectangle is its icon's: the controls keep the layout they had.
  if (form.WindowState() == TWindowState::wsMinimized)
    return;
  RECT r;
  ::GetWindowRect(window, &r);
  form.SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

HWND MessageWindow() {
  static HWND window = nullptr;
  if (!window) {
    RegisterWindowClass();
    window = ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
  }
  return window;
}

void TickTimer(UINT_PTR id) {
  auto found = timers.find(id);
  if (found != timers.end())
    found->second->Tick();
}

TControl* ControlBeingMade() {
  return beingMade;
}

HFONT FontOf(const TControl& control) {
  auto found = fonts.find(const_cast<TControl*>(&control));
  return found == fonts.end() ? nullptr : found->second;
}

HWND RadioButton(TControl& group, int index) {
  const auto& buttons = radioButtons[&group];
  return index >= 0 && index < static_cast<int>(buttons.size())
             ? buttons[static_cast<std::size_t>(index)]
             : nullptr;
}

}  // namespace ui::win32

namespace ui::peer {

using win32::Window;

void Realize(TForm& form) {
  if (!form.Handle()) {
    INITCOMMONCONTROLSEX common{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&common);
  }
  win32::Make(form);
}

void Attach(TControl& control) {
  win32::Make(control);
}

void Focus(TControl& control) {
  win32::Focus(control);
}

void Update(TControl& control, int property) {
  HWND window = Window(control);
  // While a form's window state is copied into the model, only the form's own window is left
  // alone: its children, laid out anew, must follow.
  if (!window || (win32::Syncing() && control.Kind() == ControlKind::Form))
    return;
  if (control.Kind() == ControlKind::Label) {
    switch (property) {
      case kCaption:
        // For whoever reads the window's text; what the label shows comes from the model.
        ::SetWindowTextW(window, os::Utf8ToWide(control.Caption()).c_str());
        win32::ShowLabel(control);
        return;
      case kFont:
        win32::SetFont(control);
        [[fallthrough]];
      case kBounds:
      case kColor:
      case kInvalidate:
        win32::ShowLabel(control);
        return;
      default:
        break;
    }
  }
  switch (property) {
    case kCaption:
      if (control.Kind() != ControlKind::StatusBar && control.Kind() != ControlKind::Memo &&
          control.Kind() != ControlKind::ComboBox)
        ::SetWindowTextW(window, os::Utf8ToWide(control.Caption()).c_str());
      ::InvalidateRect(window, nullptr, TRUE);
      break;
    case kBounds:
      if (control.Kind() != ControlKind::Form) {
        win32::SetBoundsOf(control);
      } else if (::IsZoomed(window) || ::IsIconic(window)) {
        // A maximised or minimised window keeps the size its state gives it; the model follows.
        win32::SyncFormBounds(control);
      } else {
        ::SetWindowPos(window, nullptr, control.Left(), control.Top(), control.Width(),
                       control.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
      }
      break;
    case kVisible:
      win32::ShowState(control);
      break;
    case kEnabled:
      ::EnableWindow(window, control.Enabled());
      break;
    case kFont:
      win32::SetFont(control);
      break;
    case kColor:
      ::InvalidateRect(window, nullptr, TRUE);
      break;
    case kChecked:
      ::SendMessageW(window, BM_SETCHECK,
                     static_cast<TCheckBox&>(control).Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case kItems:
      win32::SetItems(control);
      break;
    case kItemIndex:
      win32::SetItemIndex(control);
      break;
    case kLines:
      if (control.Kind() == ControlKind::Memo)
        win32::SetLines(control);
      break;
    case kPanels:
      if (control.Kind() == ControlKind::StatusBar)
        win32::SetPanels(control);
      break;
    case kMenu:
      if (control.Kind() == ControlKind::Form)
        win32::InstallMenu(static_cast<TForm&>(control));
      break;
    case kDoubleBuffered:
      ::SetWindowLongPtrW(window, GWL_EXSTYLE, win32::FormExStyle(static_cast<TForm&>(control)));
      break;
    case kCells:
    case kInvalidate:
      // Drawn with the next paint: many changes in a row cost one redraw.
      ::InvalidateRect(window, nullptr, FALSE);
      break;
    case kRepaint:
      // Drawn at once: a redraw asked for by the program happens before the call returns.
      ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      break;
    default:
      break;
  }
}

namespace {

// Child windows go with their parent's; their entries go with them.
void ForgetChildren(TControl& control) {
  for (TControl* child : control.Controls()) {
    if (child->Handle()) {
      win32::UntagWindow(Window(*child));
      win32::windows.erase(Window(*child));
    }
    for (HWND button : win32::radioButtons[child])
      win32::windows.erase(button);
    win32::radioButtons.erase(child);
    ForgetChildren(*child);
  }
}

}  // namespace

void Destroy(TControl& control) {
  ForgetChildren(control);
  HWND window = Window(control);
  if (window) {
    win32::ForgetFocus(window);
    win32::UntagWindow(window);
    win32::PublishMenu(window, nullptr);
    win32::windows.erase(window);
    ::DestroyWindow(window);
  }
  control.SetHandle(nullptr);
  for (HWND button : win32::radioButtons[&control])
    win32::windows.erase(button);
  win32::radioButtons.erase(&control);
  auto font = win32::fonts.find(&control);
  if (font != win32::fonts.end()) {
    ::DeleteObject(font->second);
    win32::fonts.erase(font);
  }
}

void UpdateMenuItem(TMenuItem& item) {
  TMenu* menu = item.Menu();
  if (!menu || menu->IsPopup())
    return;
  auto* form = dynamic_cast<TForm*>(menu->Owner());
  if (form && form->Menu() == menu)
    win32::InstallMenu(*form);
}

void DestroyMenu(TMenu&) {}

void Popup(TPopupMenu& menu, int screenX, int screenY) {
  HMENU handle = win32::BuildMenu(menu);
  HWND owner = ::GetActiveWindow();
  if (!owner)
    owner = win32::MessageWindow();
  UINT command = static_cast<UINT>(::TrackPopupMenu(handle, TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                    screenX, screenY, 0, owner, nullptr));
  ::DestroyMenu(handle);
  if (TMenuItem* item = TMenuItem::FindByCommand(static_cast<uint16_t>(command)))
    item->Click();
}

void UpdateTimer(TTimer& timer) {
  HWND window = win32::MessageWindow();
  win32::timers[timer.Id()] = &timer;
  if (timer.Enabled() && timer.Interval() > 0) {
    ::SetTimer(window, timer.Id(), timer.Interval(), nullptr);
  } else {
    ::KillTimer(window, timer.Id());
  }
}

void DestroyTimer(TTimer& timer) {
  ::KillTimer(win32::MessageWindow(), timer.Id());
  win32::timers.erase(timer.Id());
}

namespace {

void PumpOne(const MSG& message) {
  try {
    if (win32::HandleKey(message))
      return;
  } catch (...) {
    Application->ShowCurrentException();
    return;
  }
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}

}  // namespace

void RunModal(TForm& form) {
  Realize(form);
  // Every other window of the program takes no input while the form is shown.
  std::vector<HWND> disabled;
  for (const auto& [window, control] : win32::windows) {
    if (control->Kind() == ControlKind::Form && control != &form && ::IsWindowVisible(window) &&
        ::IsWindowEnabled(window))
      disabled.push_back(window);
  }
  for (HWND window : disabled)
    ::EnableWindow(window, FALSE);
  TForm* main = Application->MainForm();
  form.TControl::SetVisible(true);
  ::SetForegroundWindow(Window(form));
  MSG message;
  for (;;) {
    if (form.ModalResult() != mrNone) {
      if (form.CloseModal())
        break;
      continue;
    }
    BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      ::PostQuitMessage(0);
      form.SetModalResult(mrCancel);
      form.CloseModal();
      break;
    }
    PumpOne(message);
  }
  for (HWND window : disabled)
    ::EnableWindow(window, TRUE);
  if (main && main != &form && main->Handle())
    ::SetActiveWindow(Window(*main));
}

void GetPlacement(TForm& form, WindowPlacement& placement) {
  Realize(form);
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  ::GetWindowPlacement(Window(form), &wp);
  placement.flags = wp.flags;
  placement.showCmd = static_cast<int>(wp.showCmd);
  placement.minPosition = {wp.ptMinPosition.x, wp.ptMinPosition.y};
  placement.maxPosition = {wp.ptMaxPosition.x, wp.ptMaxPosition.y};
  placement.normalPosition = {wp.rcNormalPosition.left, wp.rcNormalPosition.top,
                              wp.rcNormalPosition.right, wp.rcNormalPosition.bottom};
}

void SetPlacement(TForm& form, const WindowPlacement& placement) {
  Realize(form);
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  wp.flags = placement.flags;
  wp.showCmd = static_cast<UINT>(placement.showCmd);
  wp.ptMinPosition = {placement.minPosition.x, placement.minPosition.y};
  wp.ptMaxPosition = {placement.maxPosition.x, placement.maxPosition.y};
  wp.rcNormalPosition = {placement.normalPosition.left, placement.normalPosition.top,
                         placement.normalPosition.right, placement.normalPosition.bottom};
  HWND window = Window(form);
  ::SetWindowPlacement(window, &wp);
  // The model follows what the window became.
  win32::SyncFormBounds(form);
  win32::SyncScope scope;
  form.SetVisible(::IsWindowVisible(window) != FALSE);
}

TSize FrameSize(const TForm& form) {
  HWND window = Window(form);
  // A minimised window has no client area to measure the frame by.
  if (window && !::IsIconic(window)) {
    RECT outer, client;
    ::GetWindowRect(window, &outer);
    ::GetClientRect(window, &client);
    return {(outer.right - outer.left) - client.right, (outer.bottom - outer.top) - client.bottom};
  }
  RECT r{0, 0, 0, 0};
  ::AdjustWindowRectEx(&r, win32::FormStyle(form), form.Menu() != nullptr,
                       win32::FormExStyle(form));
  return {r.right - r.left, r.bottom - r.top};
}

TSize ScreenSize() {
  return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

TSize TextExtent(const TFont& font, const std::string& text) {
  HDC dc = ::GetDC(nullptr);
  TSize size;
  {
    win32::GdiCanvas canvas(dc, {0, 0});
    canvas.SetFont(font);
    size = canvas.TextExtent(text);
  }
  ::ReleaseDC(nullptr, dc);
  return size;
}

void RunMessageLoop() {
  if (TForm* main = Application->MainForm())
    Realize(*main);
  MSG message;
  while (!Application->Terminated() && ::GetMessageW(&message, nullptr, 0, 0) > 0)
    PumpOne(message);
}

void ProcessMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    PumpOne(message);
  }
}

void WakeMainThread() {
  ::PostMessageW(win32::MessageWindow(), win32::kWakeMessage, 0, 0);
}

}  // namespace ui::peer

// The platform's file, colour and message dialogs.
#include <windows.h>

#include <commdlg.h>

#include <vector>

#include "dialogs.h"
#include "form.h"
#include "peer.h"
#include "text.h"

namespace ui::peer {
namespace {

HWND OwnerWindow() {
  return ::GetActiveWindow();
}

}  // namespace

bool ExecuteFileDialog(TFileDialog& dialog, bool save) {
  // "text|pattern|..." becomes the platform's zero-separated list, ending in two zeros.
  std::wstring filter = os::Utf8ToWide(dialog.filter);
  for (wchar_t& c : filter) {
    if (c == L'|')
      c = L'\0';
  }
  filter.append(2, L'\0');
  std::wstring defaultExt = os::Utf8ToWide(dialog.defaultExt);
  std::vector<wchar_t> name(32768, L'\0');
  std::wstring initial = os::Utf8ToWide(dialog.fileName);
  initial.copy(name.data(), std::min(initial.size(), name.size() - 1));
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = OwnerWindow();
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
  BOOL chosen = save ? ::GetSaveFileNameW(&ofn) : ::GetOpenFileNameW(&ofn);
  if (!chosen)
    return false;
  dialog.fileName = os::WideToUtf8(name.data());
  return true;
}

bool ExecuteColorDialog(TColorDialog& dialog) {
  static COLORREF custom[16] = {};
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = OwnerWindow();
  choose.rgbResult = dialog.color;
  choose.lpCustColors = custom;
  choose.Flags = CC_RGBINIT;
  if (!::ChooseColorW(&choose))
    return false;
  dialog.color = choose.rgbResult;
  return true;
}

int ShowMessage(TForm* owner, const std::string& text, const std::string& caption, unsigned style) {
  HWND window = owner ? static_cast<HWND>(owner->Handle()) : nullptr;
  return ::MessageBoxW(window, os::Utf8ToWide(text).c_str(), os::Utf8ToWide(caption).c_str(),
                       style);
}

}  // namespace ui::peer

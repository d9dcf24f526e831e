// The platform's dialogs: open and save file, colour, message box. Tests (and the native build,
// where no dialog exists) answer them through hooks.
#pragma once

#include <functional>
#include <string>

#include "component.h"

namespace ui {

class TForm;

class TFileDialog : public TComponent {
 public:
  TFileDialog(TComponent* owner, bool save) : TComponent(owner), save_(save) {}
  // Appended to a name typed without an extension.
  std::string defaultExt;
  // Pairs of description and pattern: "Файлы VRX-470|*.VRX470".
  std::string filter;
  // The chosen file after Execute.
  std::string fileName;
  // Shows the dialog; false when the user cancelled. The chosen file's folder becomes the
  // current directory, as the platform's dialog leaves it.
  bool Execute();
  bool IsSave() const { return save_; }

 private:
  bool save_;
};

class TOpenDialog : public TFileDialog {
 public:
  explicit TOpenDialog(TComponent* owner) : TFileDialog(owner, false) {}
};

// Replaces an existing file without asking.
class TSaveDialog : public TFileDialog {
 public:
  explicit TSaveDialog(TComponent* owner) : TFileDialog(owner, true) {}
};

class TColorDialog : public TComponent {
 public:
  explicit TColorDialog(TComponent* owner) : TComponent(owner) {}
  // The colour the dialog opens with and the one chosen; black before the first choice.
  TColor color = clBlack;
  bool Execute();
};

// Message-box styles and answers, as the platform numbers them.
constexpr unsigned MB_OK_BUTTON = 0x0;
constexpr unsigned MB_ERROR_ICON = 0x10;
constexpr unsigned MB_WARNING_ICON = 0x30;
constexpr unsigned MB_INFO_ICON = 0x40;
constexpr int ID_OK_ANSWER = 1;

// A modal message box owned by a form (or by no window); returns the button pressed.
int ShowMessageBox(TForm* owner, const std::string& text, const std::string& caption,
                   unsigned style);

// Hooks that answer in place of the platform. Each returns the previous hook; an empty hook
// hands the call back to the platform (natively: a cancelled dialog, a box closed with OK, a
// modal form that closes at once).
using FileDialogHook = std::function<bool(TFileDialog& dialog)>;
using ColorDialogHook = std::function<bool(TColorDialog& dialog)>;
using MessageBoxHook = std::function<int(TForm* owner, const std::string& text,
                                         const std::string& caption, unsigned style)>;
using ModalHook = std::function<void(TForm& form)>;
FileDialogHook SetFileDialogHook(FileDialogHook hook);
ColorDialogHook SetColorDialogHook(ColorDialogHook hook);
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);
// Runs while a form is shown modally; it acts on the form (a click, a close). A form still open
// when it returns is closed.
ModalHook SetModalHook(ModalHook hook);
const ModalHook& CurrentModalHook();

}  // namespace ui

#include "dialogs.h"

#include "peer.h"

namespace ui {
namespace {

FileDialogHook fileDialogHook;
ColorDialogHook colorDialogHook;
MessageBoxHook messageBoxHook;
ModalHook modalHook;

template <class Hook>
Hook Replace(Hook& slot, Hook hook) {
  Hook previous = std::move(slot);
  slot = std::move(hook);
  return previous;
}

}  // namespace

bool TFileDialog::Execute() {
  if (fileDialogHook)
    return fileDialogHook(*this);
  return peer::ExecuteFileDialog(*this, save_);
}

bool TColorDialog::Execute() {
  if (colorDialogHook)
    return colorDialogHook(*this);
  return peer::ExecuteColorDialog(*this);
}

int ShowMessageBox(TForm* owner, const std::string& text, const std::string& caption,
                   unsigned style) {
  if (messageBoxHook)
    return messageBoxHook(owner, text, caption, style);
  return peer::ShowMessage(owner, text, caption, style);
}

FileDialogHook SetFileDialogHook(FileDialogHook hook) {
  return Replace(fileDialogHook, hook);
}
ColorDialogHook SetColorDialogHook(ColorDialogHook hook) {
  return Replace(colorDialogHook, hook);
}
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) {
  return Replace(messageBoxHook, hook);
}
ModalHook SetModalHook(ModalHook hook) {
  return Replace(modalHook, hook);
}
const ModalHook& CurrentModalHook() {
  return modalHook;
}

}  // namespace ui

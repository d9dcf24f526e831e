#include "error_box.h"

#include "dialogs.h"
#include "main_form.h"

void ShowErrorBox(const std::string& text, const std::string& title) {
  ui::ShowMessageBox(MForm, text, title, ui::MB_OK_BUTTON | ui::MB_ERROR_ICON);
}

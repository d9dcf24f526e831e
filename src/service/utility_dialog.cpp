#include "utility_dialog.h"

namespace {

constexpr int kPanelHeight = 41;

ui::TButton* MakeButton(ui::TForm& form, ui::TControl* parent, int left, const char* caption,
                        const char* name) {
  auto* button = new ui::TButton(&form);
  button->SetName(name);
  button->SetParent(parent);
  button->SetBounds(left, 8, 75, 25);
  button->SetCaption(caption);
  return button;
}

}  // namespace

UtilityDialogParts BuildUtilityDialog(ui::TForm& form, const char* name, const char* caption,
                                      int width, int height, const char* actionCaption) {
  form.SetName(name);
  form.SetCaption(caption);
  form.SetBounds(0, 0, width, height);
  form.SetPosition(ui::TPosition::poMainFormCenter);

  UtilityDialogParts parts{};
  parts.panel = new ui::TPanel(&form);
  parts.panel->SetName("Panel1");
  parts.panel->SetParent(&form);
  parts.panel->SetHeight(kPanelHeight);
  parts.panel->SetAlign(ui::TAlign::alBottom);

  parts.action = MakeButton(form, parts.panel, 8, actionCaption, "Button1");
  parts.close = MakeButton(form, parts.panel, 88, "Закрыть", "Button2");
  // Enter presses the focused button, the action at first.
  form.SetCancelButton(parts.close);

  parts.memo = new ui::TMemo(&form);
  parts.memo->SetName("Memo");
  parts.memo->SetParent(&form);
  parts.memo->SetReadOnly(true);
  parts.memo->SetAlign(ui::TAlign::alClient);
  return parts;
}

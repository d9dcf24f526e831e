#include "ft_ident_form.h"

#include "connection_hold.h"
#include "ft_ident.h"

TFtIdentForm* FtIdentForm = nullptr;

namespace {

// The identity routine's lines go to the dialog's memo.
class DialogMemo final : public FtIdentMemo {
 public:
  void FtIdentClear() override { ::FtIdentClear(); }
  void FtIdentAddLine(const char* text) override { ::FtIdentAddLine(text); }
};

ui::TButton* MakeButton(ui::TForm* form, ui::TControl* parent, int left, const char* caption,
                        const char* name) {
  auto* button = new ui::TButton(form);
  button->SetName(name);
  button->SetParent(parent);
  button->SetBounds(left, 8, 75, 25);
  button->SetCaption(caption);
  return button;
}

}  // namespace

TFtIdentForm::TFtIdentForm(ui::TComponent* Owner) : ui::TForm(Owner) {
  SetName("FtIdentForm");
  SetCaption("Вшить идентификатор FT232");
  SetBounds(0, 0, 337, 349);
  SetPosition(ui::TPosition::poMainFormCenter);
  OnClose = ui::Handler(this, &TFtIdentForm::FormClose);

  Panel1 = new ui::TPanel(this);
  Panel1->SetName("Panel1");
  Panel1->SetParent(this);
  Panel1->SetHeight(41);
  Panel1->SetAlign(ui::TAlign::alBottom);

  Button1 = MakeButton(this, Panel1, 8, "Вшить", "Button1");
  Button1->OnClick = ui::Handler(this, &TFtIdentForm::Button1Click);
  Button2 = MakeButton(this, Panel1, 88, "Закрыть", "Button2");
  Button2->OnClick = ui::Handler(this, &TFtIdentForm::Button2Click);
  // Esc closes the dialog as "Закрыть" does; Enter presses the focused button.
  SetCancelButton(Button2);

  Memo = new ui::TMemo(this);
  Memo->SetName("Memo");
  Memo->SetParent(this);
  Memo->SetReadOnly(true);
  Memo->SetAlign(ui::TAlign::alClient);

  // The identity routine checks for the driver itself; the hold only has to stand.
  holding_ = HoldConnectionThread() != ConnectionHold::kRefused;
}

TFtIdentForm::~TFtIdentForm() {
  ReleaseHold();
}

void TFtIdentForm::ReleaseHold() {
  if (!holding_)
    return;
  holding_ = false;
  ReleaseConnectionThread();
}

void TFtIdentForm::FormClose(ui::TObject*, ui::TCloseAction&) {
  ReleaseHold();
}

void TFtIdentForm::Button2Click(ui::TObject*) {
  Close();
}

void TFtIdentForm::Button1Click(ui::TObject*) {
  // Without the hold the connection thread still uses the link.
  if (!holding_)
    return;
  DialogMemo memo;
  FtProgramIdent(memo);
}

void FtIdentClear() {
  if (FtIdentForm != nullptr)
    FtIdentForm->Memo->ClearLines();
}

void FtIdentAddLine(const char* text) {
  if (FtIdentForm != nullptr)
    FtIdentForm->Memo->AddLine(text != nullptr ? text : "");
}

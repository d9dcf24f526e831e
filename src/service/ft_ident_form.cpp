#include "ft_ident_form.h"

#include "connection_hold.h"
#include "ft_ident.h"
#include "sw_update_thread.h"
#include "utility_dialog.h"

TFtIdentForm* FtIdentForm = nullptr;

namespace {

// The identity routine's lines go to the dialog's memo.
class DialogMemo final : public FtIdentMemo {
 public:
  void FtIdentClear() override { ::FtIdentClear(); }
  void FtIdentAddLine(const char* text) override { ::FtIdentAddLine(text); }
};

}  // namespace

TFtIdentForm::TFtIdentForm(ui::TComponent* Owner) : ui::TForm(Owner) {
  const UtilityDialogParts parts =
      BuildUtilityDialog(*this, "FtIdentForm", "Вшить идентификатор FT232", 337, 349, "Вшить");
  Panel1 = parts.panel;
  Button1 = parts.action;
  Button2 = parts.close;
  Memo = parts.memo;
  OnClose = ui::Handler(this, &TFtIdentForm::FormClose);
  Button1->OnClick = ui::Handler(this, &TFtIdentForm::Button1Click);
  Button2->OnClick = ui::Handler(this, &TFtIdentForm::Button2Click);

  // An earlier update may still be on the link. The connection thread is held for it already, so
  // the hold alone would not wait, and "Вшить" would close the link in the middle of the boot
  // loader's image. The identity routine checks for the driver itself; the hold only has to stand.
  WaitForEarlierUpdate();
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

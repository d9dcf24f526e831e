#include "sw_update_form.h"

#include "connection_hold.h"
#include "sw_update_thread.h"

TSWUpdateForm* SWUpdateForm = nullptr;

namespace {

// The one dialog that exists (it is modal), and the serial the next one gets: a dialog made later
// at the same address is still another dialog to an update that is running.
TSWUpdateForm* openDialog = nullptr;
uint32_t nextSerial = 1;

constexpr int kPanelHeight = 41;

}  // namespace

TSWUpdateForm::TSWUpdateForm(ui::TComponent* Owner) : ui::TForm(Owner), serial_(nextSerial++) {
  SetCaption("Обновить ПО");
  SetBounds(0, 0, 285, 360);
  SetPosition(ui::TPosition::poMainFormCenter);

  Panel1 = new ui::TPanel(this);
  Panel1->SetParent(this);
  Panel1->SetAlign(ui::TAlign::alBottom);
  Panel1->SetHeight(kPanelHeight);

  Button1 = new ui::TButton(this);
  Button1->SetParent(Panel1);
  Button1->SetBounds(8, 8, 75, 25);
  Button1->SetCaption("Обновить ПО");
  Button1->OnClick = ui::Handler(this, &TSWUpdateForm::Button1Click);

  Button2 = new ui::TButton(this);
  Button2->SetParent(Panel1);
  Button2->SetBounds(88, 8, 75, 25);
  Button2->SetCaption("Закрыть");
  Button2->OnClick = ui::Handler(this, &TSWUpdateForm::Button2Click);
  // Esc closes the dialog as "Закрыть" does; Enter presses the focused button.
  SetCancelButton(Button2);

  Memo = new ui::TMemo(this);
  Memo->SetParent(this);
  Memo->SetAlign(ui::TAlign::alClient);
  Memo->SetReadOnly(true);
  Memo->SetLines({"Выключите и включите прибор, долго удерживая ",
                  "кнопку включения. Затем нажмите кнопку ", "\"Обновить ПО\"."});

  SetName("SWUpdateForm");
  Panel1->SetName("Panel1");
  Button1->SetName("Button1");
  Button2->SetName("Button2");
  Memo->SetName("Memo");

  openDialog = this;
  ReleaseConnectionThread();
}

TSWUpdateForm::~TSWUpdateForm() {
  // An update left waiting would go on using the link after the next opening of the dialog
  // lets the connection thread go: it stops at its next step, whichever way the dialog closed.
  if (UpdateThread != nullptr)
    UpdateThread->Terminate();
  if (openDialog == this)
    openDialog = nullptr;
}

TSWUpdateForm* TSWUpdateForm::OpenDialog(uint32_t serial) {
  return openDialog != nullptr && openDialog->serial_ == serial ? openDialog : nullptr;
}

void TSWUpdateForm::Button1Click(ui::TObject*) {
  // One update at a time: a second one would talk to the boot loader over the same link.
  if (UpdateThread != nullptr && !UpdateThread->Finished())
    return;
  delete UpdateThread;
  UpdateThread = nullptr;
  const ConnectionHold hold = HoldConnectionThread();
  // Asked from inside the connection thread's own hand-over, the link cannot be had.
  if (hold == ConnectionHold::kRefused)
    return;
  UpdateThread =
      os::TThread::Create<SWUpdateThreadClass>(false, serial_, hold == ConnectionHold::kHeld);
}

void TSWUpdateForm::Button2Click(ui::TObject*) {
  if (UpdateThread != nullptr)
    UpdateThread->Terminate();
  Close();
}

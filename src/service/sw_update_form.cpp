#include "sw_update_form.h"

#include "connection_hold.h"
#include "sw_update_thread.h"
#include "utility_dialog.h"

TSWUpdateForm* SWUpdateForm = nullptr;

namespace {

// The one dialog that exists (it is modal), and the serial the next one gets: a dialog made later
// at the same address is still another dialog to an update that is running.
TSWUpdateForm* openDialog = nullptr;
uint32_t nextSerial = 1;

}  // namespace

TSWUpdateForm::TSWUpdateForm(ui::TComponent* Owner) : ui::TForm(Owner), serial_(nextSerial++) {
  const UtilityDialogParts parts =
      BuildUtilityDialog(*this, "SWUpdateForm", "Обновить ПО", 285, 360, "Обновить ПО");
  Panel1 = parts.panel;
  Button1 = parts.action;
  Button2 = parts.close;
  Memo = parts.memo;
  Button1->OnClick = ui::Handler(this, &TSWUpdateForm::Button1Click);
  Button2->OnClick = ui::Handler(this, &TSWUpdateForm::Button2Click);
  Memo->SetLines({"Выключите и включите прибор, долго удерживая ",
                  "кнопку включения. Затем нажмите кнопку ", "\"Обновить ПО\"."});

  // An earlier update may still be on the link: the connection thread goes on only after it, or
  // its requests would go out between the image's bytes.
  WaitForEarlierUpdate();
  openDialog = this;
  ReleaseConnectionThread();
}

TSWUpdateForm::~TSWUpdateForm() {
  // Whichever way the dialog closed, its update is asked to stop; it stops only where nothing of
  // an image has gone out or the link is lost, and otherwise finishes unseen.
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

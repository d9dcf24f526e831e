// The USB-identity dialog: "Вшить" writes the program's identity into every attached FT232 and
// shows each step in a read-only memo. While the dialog exists the connection thread stays held,
// so the identity routine alone uses the driver and the shared device handle. Made per menu
// command, shown modally and deleted when it closes.
#pragma once

#include "controls.h"
#include "form.h"
#include "text_controls.h"

class TFtIdentForm : public ui::TForm {
 public:
  // Builds the form, waits for an earlier firmware update to end and holds the connection thread.
  explicit TFtIdentForm(ui::TComponent* Owner);
  // Lets the connection thread go if the dialog is deleted without having been closed.
  ~TFtIdentForm() override;

  ui::TButton* Button1;
  ui::TPanel* Panel1;
  ui::TButton* Button2;
  ui::TMemo* Memo;

  // "Закрыть" and the close box end here: the connection thread is let go.
  void FormClose(ui::TObject* Sender, ui::TCloseAction& Action);
  // "Закрыть".
  void Button2Click(ui::TObject* Sender);
  // "Вшить": one whole run of the identity routine.
  void Button1Click(ui::TObject* Sender);

 private:
  void ReleaseHold();

  // Whether this dialog still holds the connection thread: its one suspension is undone once.
  bool holding_ = false;
};

// The dialog while the menu command shows it; null otherwise.
extern TFtIdentForm* FtIdentForm;

// The memo of FtIdentForm: removes every line, or appends one (UTF-8; an empty text gives an
// empty line). Without a dialog they do nothing.
void FtIdentClear();
void FtIdentAddLine(const char* text);

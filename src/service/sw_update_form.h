// The firmware-update dialog: instructions in a read-only memo, "Обновить ПО" to start an update
// and "Закрыть". Made per menu command, shown modally and deleted when it closes. Opening it lets
// the connection thread go once, after an earlier update has ended; every update holds it once
// more.
#pragma once

#include <cstdint>

#include "controls.h"
#include "form.h"
#include "text_controls.h"

class TSWUpdateForm : public ui::TForm {
 public:
  explicit TSWUpdateForm(ui::TComponent* Owner);
  ~TSWUpdateForm() override;

  ui::TPanel* Panel1;
  ui::TButton* Button1;
  ui::TButton* Button2;
  ui::TMemo* Memo;

  void Button2Click(ui::TObject* Sender);
  void Button1Click(ui::TObject* Sender);

  // The open dialog if it is the one with this serial; null once that dialog has gone. Main
  // thread only.
  static TSWUpdateForm* OpenDialog(uint32_t serial);
  uint32_t Serial() const { return serial_; }

 private:
  uint32_t serial_;
};

// The dialog while the menu command shows it; null otherwise.
extern TSWUpdateForm* SWUpdateForm;

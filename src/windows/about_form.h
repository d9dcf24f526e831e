// The about window: the program's name and version under a small picture, and an OK button.
// Made per Help command, shown modally and deleted when it closes.
#pragma once

#include "controls.h"
#include "form.h"

class TAboutForm : public ui::TForm {
 public:
  explicit TAboutForm(ui::TComponent* Owner);

  ui::TImage* Image1;
  ui::TLabel* Label1;
  ui::TLabel* Label3;
  ui::TLabel* Label2;
  ui::TButton* Button1;

  void Button1Click(ui::TObject* Sender);

 private:
  ui::TLabel* MakeCentredLabel(int left, int top, const char* text);
};

// The about window while the Help command shows it; null otherwise.
extern TAboutForm* AboutForm;

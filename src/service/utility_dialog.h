// What the two utility dialogs have in common: a panel 41 high along the bottom edge with the
// action button and "Закрыть" (75 × 25, at left 8 and 88, tab order 0 and 1), and a read-only memo
// filling the rest, where the utility reports its steps. Esc presses "Закрыть".
#pragma once

#include "controls.h"
#include "form.h"
#include "text_controls.h"

struct UtilityDialogParts {
  ui::TPanel* panel;
  ui::TButton* action;
  ui::TButton* close;
  ui::TMemo* memo;
};

// Gives `form` its name, caption and outer size, centred on the main window, and makes the parts.
UtilityDialogParts BuildUtilityDialog(ui::TForm& form, const char* name, const char* caption,
                                      int width, int height, const char* actionCaption);

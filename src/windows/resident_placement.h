// Placement and visibility of the resident windows other than the main one (spectrum and log):
// read from their settings section when they are built, written back when the program closes.
#pragma once

#include <string>

#include "form.h"

// Reads X, Y, W, H and Visible of the section and applies them to the form, shown or hidden;
// true when it is shown, for the caller's menu check mark.
bool RestoreResidentPlacement(ui::TForm& form, const std::string& section);

// Writes X, Y, W, H of the form's normal rectangle and whether it is shown to the section.
void SaveResidentPlacement(ui::TForm& form, const std::string& section);

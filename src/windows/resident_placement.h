// Placement and visibility of the resident windows other than the main one (spectrum and log):
// read from their settings section when they are built, written back when the program closes.
#pragma once

#include <cstdint>
#include <string>

#include "form.h"

// The normal rectangle for the saved X, Y, W and H on a screen of the given size: each edge is
// taken modulo the screen, so a window saved on a larger screen still starts on this one. The
// magnitudes are taken in 64 bits, so the most negative value is safe too.
ui::TRect ResidentWindowRect(int32_t x, int32_t y, int32_t w, int32_t h, ui::TSize screen);

// Reads X, Y, W, H and Visible of the section and applies them to the form, shown or hidden;
// true when it is shown, for the caller's menu check mark.
bool RestoreResidentPlacement(ui::TForm& form, const std::string& section);

// Writes X, Y, W, H of the form's normal rectangle and whether it is shown to the section.
void SaveResidentPlacement(ui::TForm& form, const std::string& section);

// The one way the windows tell the user of a failure: a modal box owned by the main window, with
// the error icon and OK.
#pragma once

#include <string>

void ShowErrorBox(const std::string& text, const std::string& title);

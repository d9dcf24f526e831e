// Messages that cross threads or come from the program itself, with what their parameters mean.
#pragma once

#include <windows.h>

namespace ui::win32 {

// Posted to the application's message window by a worker in Synchronize (and by Terminate):
// the main thread runs the synchronised calls waiting. wParam and lParam: unused.
constexpr UINT kWakeMessage = WM_APP + 1;

}  // namespace ui::win32

// What the component model asks of the platform. The Win32 back end makes real windows; the
// native one keeps no window, so the model alone answers and tests drive the events.
#pragma once

#include <cstdint>
#include <string>

#include "types.h"

namespace ui {

class TControl;
class TForm;
class TMenuItem;
class TMenu;
class TPopupMenu;
class TTimer;
class TFileDialog;
class TColorDialog;

namespace peer {

// Properties whose change reaches a window.
enum Property {
  kCaption,
  kBounds,
  kVisible,
  kEnabled,
  kFont,
  kColor,
  kChecked,
  kItems,
  kItemIndex,
  kLines,
  kCells,
  kPanels,
  kMenu,
  kRepaint,
  kInvalidate,
  kDoubleBuffered,
};

// Makes the windows of a form and of everything on it, once.
void Realize(TForm& form);
// A control that came after its form's windows were made gets its window here.
void Attach(TControl& control);
void Update(TControl& control, int property);
void Focus(TControl& control);
void Destroy(TControl& control);

void UpdateMenuItem(TMenuItem& item);
void DestroyMenu(TMenu& menu);
void Popup(TPopupMenu& menu, int screenX, int screenY);

void UpdateTimer(TTimer& timer);
void DestroyTimer(TTimer& timer);

// Runs the form modally until its modal result is set.
void RunModal(TForm& form);
void GetPlacement(TForm& form, WindowPlacement& placement);
void SetPlacement(TForm& form, const WindowPlacement& placement);
// Outer size minus client size of a form.
TSize FrameSize(const TForm& form);
TSize ScreenSize();
TSize TextExtent(const TFont& font, const std::string& text);

bool ExecuteFileDialog(TFileDialog& dialog, bool save);
bool ExecuteColorDialog(TColorDialog& dialog);
int ShowMessage(TForm* owner, const std::string& text, const std::string& caption, unsigned style);

// The message loop: runs until the application is terminated.
void RunMessageLoop();
// Handles the messages waiting, as the message loop does, and returns.
void ProcessMessages();
// Makes the main thread run synchronised calls soon.
void WakeMainThread();
// While the main thread waits for a worker: waits up to timeoutMs for windows to paint and
// synchronised calls to run, and runs those only; input waits until the main thread is back.
void WaitForMainThreadWork(uint32_t timeoutMs);

}  // namespace peer
}  // namespace ui

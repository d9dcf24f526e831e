// The back end without windows: the model alone holds the state, tests raise the events.
#include <algorithm>

#include "application.h"
#include "form.h"
#include "peer.h"
#include "thread.h"

namespace ui::peer {

void Realize(TForm&) {}
void Attach(TControl&) {}
void Update(TControl&, int) {}
void Focus(TControl&) {}
void Destroy(TControl&) {}
void UpdateMenuItem(TMenuItem&) {}
void DestroyMenu(TMenu&) {}
void Popup(TPopupMenu&, int, int) {}
void UpdateTimer(TTimer&) {}
void DestroyTimer(TTimer&) {}

void RunModal(TForm& form) {
  // No user to answer: the form closes at once, as if by its close box.
  form.SetModalResult(mrCancel);
  form.CloseModal();
}

void GetPlacement(TForm& form, WindowPlacement& placement) {
  placement.flags = 0;
  placement.normalPosition = form.BoundsRect();
  switch (form.WindowState()) {
    case TWindowState::wsMaximized:
      placement.showCmd = SW_SHOWMAXIMIZED_STATE;
      break;
    case TWindowState::wsMinimized:
      placement.showCmd = SW_SHOWMINIMIZED_STATE;
      break;
    default:
      placement.showCmd = SW_SHOWNORMAL_STATE;
      break;
  }
}

void SetPlacement(TForm& form, const WindowPlacement& placement) {
  // A reversed rectangle gets the minimum size, as the windowing system keeps it.
  const TRect& r = placement.normalPosition;
  form.SetBounds(r.left, r.top, std::max(form.MinWidth(), r.right - r.left),
                 std::max(form.MinHeight(), r.bottom - r.top));
  switch (placement.showCmd) {
    case SW_HIDE_STATE:
      form.Hide();
      return;
    case SW_SHOWMAXIMIZED_STATE:
      form.SetWindowState(TWindowState::wsMaximized);
      break;
    case SW_SHOWMINIMIZED_STATE:
    case 6:
    case 7:
      form.SetWindowState(TWindowState::wsMinimized);
      break;
    default:
      form.SetWindowState(TWindowState::wsNormal);
      break;
  }
  form.Show();
}

TSize FrameSize(const TForm& form) {
  // The frame of the classic look: borders, caption bar and the main menu's bar.
  TSize frame = form.BorderStyle() == TFormBorderStyle::bsSizeToolWin ? TSize{8, 23} : TSize{8, 27};
  if (form.Menu())
    frame.cy += 19;
  return frame;
}

TSize ScreenSize() {
  return {1280, 1024};
}

TSize TextExtent(const TFont& font, const std::string& text) {
  // Without a display every character counts six tenths of the font height.
  int chars = 0;
  for (unsigned char c : text)
    chars += (c & 0xC0) != 0x80;
  return {chars * ((font.height * 6 + 9) / 10), font.height};
}

bool ExecuteFileDialog(TFileDialog&, bool) {
  return false;
}
bool ExecuteColorDialog(TColorDialog&) {
  return false;
}
int ShowMessage(TForm*, const std::string&, const std::string&, unsigned) {
  return 1;
}

void RunMessageLoop() {
  while (!Application->Terminated()) {
    os::WaitForSynchronize(20);
    os::CheckSynchronize();
  }
}

void ProcessMessages() {
  os::CheckSynchronize();
}

void WakeMainThread() {}

// No window to paint: only the synchronised calls.
void WaitForMainThreadWork(uint32_t timeoutMs) {
  os::WaitForSynchronize(timeoutMs);
  os::CheckSynchronize();
}

}  // namespace ui::peer

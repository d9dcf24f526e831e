// Forms: caption, border style, minimum size, placement, double buffering, the creation, close
// and resize events, modeless and modal showing.
#pragma once

#include "component.h"

namespace ui {

class TMainMenu;
class TButton;

// The keys a form takes before the focused control sees them, as a dialog does.
enum class TDialogKey { Tab, ShiftTab, Enter, Escape };

enum class TFormBorderStyle {
  bsSizeable,     // ordinary sizeable window
  bsSizeToolWin,  // sizeable, with the small caption bar of a tool window
  bsDialog,       // not sizeable, only the close box in its caption bar
};

enum class TPosition {
  poDesigned,        // where its bounds say
  poMainFormCenter,  // centred over the application's main window
};

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

class TForm : public TControl {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style) { borderStyle_ = style; }
  // Only the close box in the caption bar (no minimise or maximise box).
  bool CloseBoxOnly() const { return closeBoxOnly_; }
  void SetCloseBoxOnly(bool only) { closeBoxOnly_ = only; }
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  int MinWidth() const { return minWidth_; }
  int MinHeight() const { return minHeight_; }
  void SetMinSize(int width, int height);
  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool on);
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState state);

  // The button that Enter presses and the one that Esc presses, wherever the focus is in the
  // form; none as made. Both are buttons of this form.
  TButton* DefaultButton() const { return defaultButton_; }
  void SetDefaultButton(TButton* button) { defaultButton_ = button; }
  TButton* CancelButton() const { return cancelButton_; }
  void SetCancelButton(TButton* button) { cancelButton_ = button; }
  // The control that Tab (forward) or Shift+Tab moves the focus to from the focused one: the
  // next shown and enabled control that takes the focus, in tab order through the panels and
  // group boxes, round from the last to the first; from none, the first (the last backward).
  // nullptr when no control takes the focus.
  TControl* NextTabStop(const TControl* focused, bool forward) const;
  // Tab and Shift+Tab move the focus; Enter presses a focused button, else the default button
  // (a memo keeps its Enter); Esc presses the cancel button. True when the key was used.
  bool DialogKey(TDialogKey key, TControl* focused);

  int ClientWidth() const override;
  int ClientHeight() const override;
  // Sets the outer size from the wanted client size.
  void SetClientSize(int width, int height);

  // The window's placement record: the normal rectangle whatever the state, and the show state.
  void GetPlacement(WindowPlacement& placement);
  // Applies a placement: the normal rectangle, the state and the visibility of its show state.
  void SetPlacement(const WindowPlacement& placement);

  TNotifyEvent OnCreate;
  TCloseEvent OnClose;
  TNotifyEvent OnResize;

  // Runs OnCreate once; the application does it right after construction, a form made
  // directly gets it at its first show.
  void DoCreate();
  void Show();
  void Hide();
  void SetVisible(bool visible) override;
  // Asks the window to close: OnClose decides; the main window's close ends the application,
  // another window hides, a modal one ends its modal run.
  void Close();
  // Shows the form modally and returns its modal result once it has closed.
  int ShowModal();
  bool Modal() const { return modal_; }
  int ModalResult() const { return modalResult_; }
  // A nonzero result ends the modal run.
  void SetModalResult(int result) { modalResult_ = result; }
  // What the modal run does at its end: OnClose; false when the handler refused (caNone).
  bool CloseModal();

 protected:
  void Resized() override;

 private:
  void PlaceForShow();

  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  bool closeBoxOnly_ = false;
  TPosition position_ = TPosition::poDesigned;
  int minWidth_ = 0;
  int minHeight_ = 0;
  bool doubleBuffered_ = false;
  TMainMenu* menu_ = nullptr;
  TWindowState windowState_ = TWindowState::wsNormal;
  TButton* defaultButton_ = nullptr;
  TButton* cancelButton_ = nullptr;
  bool created_ = false;
  bool modal_ = false;
  int modalResult_ = mrNone;
};

}  // namespace ui

// The simple controls: panel, group box, label, button, check box, and a custom-painted control
// (for the image and for controls drawn by the program itself).
#pragma once

#include "component.h"

namespace ui {

class TPanel : public TControl {
 public:
  explicit TPanel(TComponent* owner) : TControl(owner, ControlKind::Panel) {}
  // A panel without bevel draws no edge.
  bool Bevel() const { return bevel_; }
  void SetBevel(bool bevel);

 private:
  bool bevel_ = true;
};

class TGroupBox : public TControl {
 public:
  explicit TGroupBox(TComponent* owner, ControlKind kind = ControlKind::GroupBox)
      : TControl(owner, kind) {}
};

class TLabel : public TControl {
 public:
  explicit TLabel(TComponent* owner) : TControl(owner, ControlKind::Label) {}

  // An auto-sized label takes the size of its text; right-aligned, it keeps its right edge.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  // A transparent label shows its parent through (for a label on a chart).
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);

  void SetCaption(const std::string& caption) override;
  void SetFont(const TFont& font) override;

 private:
  // Runs change(), sizes the label to its text, then tells the back end once.
  void ChangeWhole(const std::function<void()>& change, int property);
  void AdjustSize();

  bool autoSize_ = true;
  bool transparent_ = false;
  TAlignment alignment_ = TAlignment::taLeftJustify;
};

class TButton : public TControl {
 public:
  explicit TButton(TComponent* owner) : TControl(owner, ControlKind::Button) {}
  TNotifyEvent OnClick;
  // A press of the button, by the user or the program.
  void Click();
};

class TCheckBox : public TControl {
 public:
  explicit TCheckBox(TComponent* owner) : TControl(owner, ControlKind::CheckBox) {}
  bool Checked() const { return checked_; }
  // A change of state runs OnClick, whoever made it.
  void SetChecked(bool checked);
  // The user's click: the box changes state.
  void Toggle() { SetChecked(!checked_); }
  TNotifyEvent OnClick;

 private:
  bool checked_ = false;
};

// A control that the program draws itself through OnPaint. Mouse, focus and context events
// are raised for it; Repaint draws at once, Invalidate at the next paint.
class TPaintControl : public TControl {
 public:
  explicit TPaintControl(TComponent* owner) : TControl(owner, ControlKind::PaintBox) {}
  TPaintEvent OnPaint;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // Draws onto the given canvas (the back end's, or a test's).
  void Paint(TCanvas& canvas);
  void Invalidate();
  void Repaint();
  // What the back end calls on the events.
  void MouseMove(int x, int y);
  void FocusEnter();
  void FocusExit();
};

// A picture drawn by its OnPaint, at its own size.
class TImage : public TPaintControl {
 public:
  explicit TImage(TComponent* owner) : TPaintControl(owner) {}
};

}  // namespace ui

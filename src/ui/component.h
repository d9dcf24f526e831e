// Components and controls: ownership (an owner deletes what it owns), the parent chain, bounds,
// alignment, visibility, caption, font and colour. Every change reaches the control's window
// through the back end when the control has one.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "types.h"

namespace ui {

class TPopupMenu;

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* owner);
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  // Deletes the owned components, the last created first.
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }

 private:
  TComponent* owner_;
  std::vector<TComponent*> owned_;
  std::string name_;
};

// Which window the back end makes for a control.
enum class ControlKind {
  Form,
  Panel,
  GroupBox,
  Label,
  Button,
  CheckBox,
  RadioGroup,
  ComboBox,
  StringGrid,
  Memo,
  StatusBar,
  PaintBox,
};

class TControl : public TComponent {
 public:
  TControl(TComponent* owner, ControlKind kind);
  ~TControl() override;

  ControlKind Kind() const { return kind_; }

  TControl* Parent() const { return parent_; }
  void SetParent(TControl* parent);
  const std::vector<TControl*>& Controls() const { return children_; }

  // The order in which Tab visits the controls of one parent: the order they were placed on it,
  // unless SetTabOrder moves one (0 first; a number past the end makes it the last).
  const std::vector<TControl*>& TabOrderedControls() const { return tabOrdered_; }
  int TabOrder() const;
  void SetTabOrder(int order);
  // Whether the control takes the focus from the keyboard: buttons, check boxes, radio groups,
  // drop-down lists and memos do; panels, labels, grids and drawn controls do not.
  bool TabStop() const;
  // Gives the control's window the keyboard focus.
  void SetFocus();

  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.right - bounds_.left; }
  int Height() const { return bounds_.bottom - bounds_.top; }
  TRect BoundsRect() const { return bounds_; }
  void SetBounds(int left, int top, int width, int height);
  void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
  void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }
  // The area children are placed in, in the control's own coordinates.
  virtual int ClientWidth() const { return Width(); }
  virtual int ClientHeight() const { return Height(); }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  const std::string& Caption() const { return caption_; }
  virtual void SetCaption(const std::string& caption);

  const TFont& Font() const { return font_; }
  virtual void SetFont(const TFont& font);
  TColor Color() const { return color_; }
  void SetColor(TColor color);

  // Right mouse button or the context-menu key: OnContextPopup first; unless it sets handled,
  // the pop-up menu (if any) opens.
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }
  TContextPopupEvent OnContextPopup;
  // What the back end calls on a context-menu request, with the position in the control and on
  // the screen; true when the handler or the pop-up menu took it.
  bool ContextPopup(TPoint mousePos, TPoint screenPos);

  // The platform window (HWND on Windows); none natively.
  void* Handle() const { return handle_; }
  void SetHandle(void* handle) { handle_ = handle; }

  // Lays out the aligned children: top ones from the top down, bottom ones from the bottom up,
  // right ones from the right, then the client one in what is left.
  void Realign();

 protected:
  // Tells the back end that a property changed, unless a change is being gathered.
  void Changed(int property);
  // Runs change() without telling the back end of what it changes: the caller tells it once the
  // control stands whole again, so that its window never shows half of the change.
  void Gathered(const std::function<void()>& change);
  // Runs after the control's size or place changed and its children were laid out again.
  virtual void Resized() {}

 private:
  // Takes a child out of the lists of children.
  void Forget(TControl& child);

  ControlKind kind_;
  TControl* parent_ = nullptr;
  std::vector<TControl*> children_;
  std::vector<TControl*> tabOrdered_;
  TRect bounds_;
  TAlign align_ = TAlign::alNone;
  bool visible_ = true;
  bool enabled_ = true;
  std::string caption_;
  TFont font_;
  TColor color_ = clDefault;
  TPopupMenu* popupMenu_ = nullptr;
  void* handle_ = nullptr;
  int gathering_ = 0;
};

}  // namespace ui

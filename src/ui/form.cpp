#include "form.h"

#include <algorithm>

#include "application.h"
#include "controls.h"
#include "dialogs.h"
#include "menu.h"
#include "peer.h"

namespace ui {

TForm::TForm(TComponent* owner) : TControl(owner, ControlKind::Form) {
  SetVisible(false);
  SetBounds(0, 0, 700, 400);
}

TForm::~TForm() {
  if (Application && Application->MainForm() == this)
    Application->Terminate();
}

void TForm::SetMinSize(int width, int height) {
  minWidth_ = width;
  minHeight_ = height;
  if (Width() < width || Height() < height)
    SetBounds(Left(), Top(), std::max(Width(), width), std::max(Height(), height));
}

void TForm::SetDoubleBuffered(bool on) {
  doubleBuffered_ = on;
  Changed(peer::kDoubleBuffered);
}

void TForm::SetMenu(TMainMenu* menu) {
  menu_ = menu;
  Changed(peer::kMenu);
  Realign();
}

void TForm::SetWindowState(TWindowState state) {
  windowState_ = state;
  Changed(peer::kVisible);
}

namespace {

// The shown and enabled controls under parent, in tab order, each before its own controls.
void CollectInTabOrder(const TControl& parent, std::vector<TControl*>& controls) {
  for (TControl* child : parent.TabOrderedControls()) {
    if (!child->Visible() || !child->Enabled())
      continue;
    controls.push_back(child);
    CollectInTabOrder(*child, controls);
  }
}

bool Usable(const TButton* button) {
  return button && button->Visible() && button->Enabled();
}

}  // namespace

TControl* TForm::NextTabStop(const TControl* focused, bool forward) const {
  std::vector<TControl*> controls;
  CollectInTabOrder(*this, controls);
  const int count = static_cast<int>(controls.size());
  const int at =
      static_cast<int>(std::find(controls.begin(), controls.end(), focused) - controls.begin());
  // From none, the search starts just outside the list, so it meets the first (or last) stop.
  const int start = at < count ? at : (forward ? -1 : count);
  for (int step = 1; step <= count; ++step) {
    const int i = ((forward ? start + step : start - step) % count + count) % count;
    if (controls[static_cast<std::size_t>(i)]->TabStop())
      return controls[static_cast<std::size_t>(i)];
  }
  return nullptr;
}

bool TForm::DialogKey(TDialogKey key, TControl* focused) {
  switch (key) {
    case TDialogKey::Tab:
    case TDialogKey::ShiftTab: {
      TControl* next = NextTabStop(focused, key == TDialogKey::Tab);
      if (!next)
        return false;
      next->SetFocus();
      return true;
    }
    case TDialogKey::Enter: {
      if (focused && focused->Kind() == ControlKind::Memo)
        return false;
      auto* button = focused && focused->Kind() == ControlKind::Button
                         ? static_cast<TButton*>(focused)
                         : defaultButton_;
      if (!Usable(button))
        return false;
      button->Click();
      return true;
    }
    case TDialogKey::Escape:
      if (!Usable(cancelButton_))
        return false;
      cancelButton_->Click();
      return true;
  }
  return false;
}

int TForm::ClientWidth() const {
  return std::max(0, Width() - peer::FrameSize(*this).cx);
}

int TForm::ClientHeight() const {
  return std::max(0, Height() - peer::FrameSize(*this).cy);
}

void TForm::SetClientSize(int width, int height) {
  TSize frame = peer::FrameSize(*this);
  SetBounds(Left(), Top(), width + frame.cx, height + frame.cy);
}

void TForm::GetPlacement(WindowPlacement& placement) {
  peer::GetPlacement(*this, placement);
}

void TForm::SetPlacement(const WindowPlacement& placement) {
  peer::SetPlacement(*this, placement);
}

void TForm::Resized() {
  if (OnResize)
    OnResize(this);
}

void TForm::DoCreate() {
  if (created_)
    return;
  created_ = true;
  if (OnCreate)
    OnCreate(this);
}

void TForm::PlaceForShow() {
  DoCreate();
  TForm* main = Application ? Application->MainForm() : nullptr;
  if (position_ == TPosition::poMainFormCenter && main && main != this) {
    SetBounds(main->Left() + (main->Width() - Width()) / 2,
              main->Top() + (main->Height() - Height()) / 2, Width(), Height());
  }
}

void TForm::Show() {
  SetVisible(true);
}

void TForm::Hide() {
  SetVisible(false);
}

void TForm::SetVisible(bool visible) {
  if (visible && !Visible())
    PlaceForShow();
  TControl::SetVisible(visible);
  // The windows are made at the first show.
  if (visible && !Handle())
    peer::Realize(*this);
}

void TForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  TCloseAction action = TCloseAction::caHide;
  if (OnClose)
    OnClose(this, action);
  if (action == TCloseAction::caNone)
    return;
  Hide();
  if (Application && Application->MainForm() == this)
    Application->Terminate();
}

bool TForm::CloseModal() {
  TCloseAction action = TCloseAction::caHide;
  if (OnClose)
    OnClose(this, action);
  if (action == TCloseAction::caNone) {
    modalResult_ = mrNone;
    return false;
  }
  return true;
}

int TForm::ShowModal() {
  modal_ = true;
  modalResult_ = mrNone;
  PlaceForShow();
  const ModalHook& hook = CurrentModalHook();
  if (hook) {
    TControl::SetVisible(true);
    hook(*this);
    // A form the hook left open closes now, as if by its close box.
    if (modalResult_ == mrNone)
      modalResult_ = mrCancel;
    CloseModal();
  } else {
    peer::RunModal(*this);
  }
  modal_ = false;
  TControl::SetVisible(false);
  return modalResult_;
}

}  // namespace ui

#include "form.h"

#include <algorithm>

#include "application.h"
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

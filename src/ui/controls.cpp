#include "controls.h"

#include "peer.h"

namespace ui {

void TPanel::SetBevel(bool bevel) {
  bevel_ = bevel;
  Changed(peer::kInvalidate);
}

void TLabel::SetAutoSize(bool autoSize) {
  ChangeWhole([&] { autoSize_ = autoSize; }, peer::kBounds);
}

void TLabel::SetAlignment(TAlignment alignment) {
  ChangeWhole([&] { alignment_ = alignment; }, peer::kCaption);
}

void TLabel::SetTransparent(bool transparent) {
  transparent_ = transparent;
  Changed(peer::kInvalidate);
}

void TLabel::SetCaption(const std::string& caption) {
  if (caption == Caption())
    return;
  ChangeWhole([&] { TControl::SetCaption(caption); }, peer::kCaption);
}

void TLabel::SetFont(const TFont& font) {
  ChangeWhole([&] { TControl::SetFont(font); }, peer::kFont);
}

void TLabel::ChangeWhole(const std::function<void()>& change, int property) {
  // The window hears of the text and of the size it takes together: told of the text first, it
  // would show a text too wide for its old box, or a narrow one beside the rest of the old.
  Gathered([&] {
    change();
    AdjustSize();
  });
  Changed(property);
}

void TLabel::AdjustSize() {
  if (!autoSize_)
    return;
  TSize size = peer::TextExtent(Font(), Caption());
  int left = Left();
  if (alignment_ == TAlignment::taRightJustify)
    left = Left() + Width() - size.cx;
  SetBounds(left, Top(), size.cx, size.cy);
}

void TButton::Click() {
  if (OnClick)
    OnClick(this);
}

void TCheckBox::SetChecked(bool checked) {
  if (checked == checked_)
    return;
  checked_ = checked;
  Changed(peer::kChecked);
  if (OnClick)
    OnClick(this);
}

void TPaintControl::Paint(TCanvas& canvas) {
  if (OnPaint)
    OnPaint(this, canvas);
}

void TPaintControl::Invalidate() {
  Changed(peer::kInvalidate);
}

void TPaintControl::Repaint() {
  Changed(peer::kRepaint);
}

void TPaintControl::MouseMove(int x, int y) {
  if (OnMouseMove)
    OnMouseMove(this, x, y);
}

void TPaintControl::FocusEnter() {
  if (OnEnter)
    OnEnter(this);
}

void TPaintControl::FocusExit() {
  if (OnExit)
    OnExit(this);
}

}  // namespace ui

#include "component.h"

#include <algorithm>

#include "menu.h"
#include "peer.h"

namespace ui {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_)
    owner_->owned_.push_back(this);
}

TComponent::~TComponent() {
  // Each owned component takes itself out of owned_ as it goes.
  while (!owned_.empty())
    delete owned_.back();
  if (owner_) {
    auto& list = owner_->owned_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
}

TControl::TControl(TComponent* owner, ControlKind kind) : TComponent(owner), kind_(kind) {}

namespace {

// Child windows go with their parent's window.
void ForgetWindows(TControl& control) {
  control.SetHandle(nullptr);
  for (TControl* child : control.Controls())
    ForgetWindows(*child);
}

}  // namespace

TControl::~TControl() {
  peer::Destroy(*this);
  for (TControl* child : children_) {
    ForgetWindows(*child);
    child->parent_ = nullptr;
  }
  if (parent_) {
    parent_->Forget(*this);
    parent_->Realign();
  }
}

void TControl::Forget(TControl& child) {
  children_.erase(std::remove(children_.begin(), children_.end(), &child), children_.end());
  tabOrdered_.erase(std::remove(tabOrdered_.begin(), tabOrdered_.end(), &child), tabOrdered_.end());
}

void TControl::SetParent(TControl* parent) {
  if (parent == parent_)
    return;
  if (parent_) {
    parent_->Forget(*this);
    parent_->Realign();
  }
  parent_ = parent;
  if (parent_) {
    parent_->children_.push_back(this);
    parent_->tabOrdered_.push_back(this);
    parent_->Realign();
    if (parent_->Handle())
      peer::Attach(*this);
  }
}

int TControl::TabOrder() const {
  if (!parent_)
    return -1;
  const auto& list = parent_->tabOrdered_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TControl::SetTabOrder(int order) {
  if (!parent_)
    return;
  auto& list = parent_->tabOrdered_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  const int place = std::clamp(order, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + place, this);
}

bool TControl::TabStop() const {
  switch (kind_) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::RadioGroup:
    case ControlKind::ComboBox:
    case ControlKind::Memo:
      return true;
    default:
      return false;
  }
}

void TControl::SetFocus() {
  if (handle_)
    peer::Focus(*this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  TRect bounds{left, top, left + width, top + height};
  if (bounds.left == bounds_.left && bounds.top == bounds_.top && bounds.right == bounds_.right &&
      bounds.bottom == bounds_.bottom)
    return;
  bounds_ = bounds;
  Changed(peer::kBounds);
  Realign();
  Resized();
  if (align_ != TAlign::alNone && parent_)
    parent_->Realign();
}

void TControl::SetAlign(TAlign align) {
  align_ = align;
  if (parent_)
    parent_->Realign();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_)
    return;
  visible_ = visible;
  Changed(peer::kVisible);
  if (align_ != TAlign::alNone && parent_)
    parent_->Realign();
}

void TControl::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Changed(peer::kEnabled);
}

void TControl::SetCaption(const std::string& caption) {
  if (caption == caption_)
    return;
  caption_ = caption;
  Changed(peer::kCaption);
}

void TControl::SetFont(const TFont& font) {
  font_ = font;
  Changed(peer::kFont);
}

void TControl::SetColor(TColor color) {
  color_ = color;
  Changed(peer::kColor);
}

bool TControl::ContextPopup(TPoint mousePos, TPoint screenPos) {
  bool handled = false;
  if (OnContextPopup)
    OnContextPopup(this, mousePos, handled);
  if (!handled && popupMenu_) {
    popupMenu_->Popup(screenPos.x, screenPos.y);
    handled = true;
  }
  return handled;
}

void TControl::Realign() {
  int left = 0;
  int top = 0;
  int right = ClientWidth();
  int bottom = ClientHeight();
  // The order of the kinds matters; within a kind, the order of creation.
  for (TAlign kind :
       {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
    for (TControl* child : children_) {
      if (child->align_ != kind || !child->visible_)
        continue;
      TRect r = child->bounds_;
      int w = r.right - r.left;
      int h = r.bottom - r.top;
      switch (kind) {
        case TAlign::alTop:
          r = {left, top, right, top + h};
          top += h;
          break;
        case TAlign::alBottom:
          r = {left, bottom - h, right, bottom};
          bottom -= h;
          break;
        case TAlign::alLeft:
          r = {left, top, left + w, bottom};
          left += w;
          break;
        case TAlign::alRight:
          r = {right - w, top, right, bottom};
          right -= w;
          break;
        default:
          r = {left, top, std::max(left, right), std::max(top, bottom)};
          break;
      }
      // Set directly, not through SetBounds, so a child does not realign its parent again.
      if (r.left != child->bounds_.left || r.top != child->bounds_.top ||
          r.right != child->bounds_.right || r.bottom != child->bounds_.bottom) {
        child->bounds_ = r;
        child->Changed(peer::kBounds);
        child->Realign();
        child->Resized();
      }
    }
  }
}

void TControl::Changed(int property) {
  if (handle_ && gathering_ == 0)
    peer::Update(*this, property);
}

void TControl::Gathered(const std::function<void()>& change) {
  ++gathering_;
  try {
    change();
  } catch (...) {
    --gathering_;
    throw;
  }
  --gathering_;
}

}  // namespace ui

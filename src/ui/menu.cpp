#include "menu.h"

#include <algorithm>
#include <map>

#include "peer.h"

namespace ui {
namespace {

std::map<uint16_t, TMenuItem*>& Commands() {
  static std::map<uint16_t, TMenuItem*> commands;
  return commands;
}

uint16_t NextCommand() {
  // Command numbers start above the dialog button identifiers.
  static uint16_t next = 1000;
  while (Commands().count(next) || next < 1000)
    ++next;
  return next++;
}

}  // namespace

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(NextCommand()) {
  Commands()[command_] = this;
}

TMenuItem::~TMenuItem() {
  Commands().erase(command_);
  for (TMenuItem* item : items_)
    item->parent_ = nullptr;
  if (parent_) {
    auto& list = parent_->items_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    parent_->Changed();
  }
}

TMenuItem* TMenuItem::FindByCommand(uint16_t command) {
  auto found = Commands().find(command);
  return found == Commands().end() ? nullptr : found->second;
}

void TMenuItem::Add(TMenuItem* item) {
  if (item->parent_) {
    auto& list = item->parent_->items_;
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
  }
  item->parent_ = this;
  items_.push_back(item);
  Changed();
}

TMenu* TMenuItem::Menu() const {
  const TMenuItem* item = this;
  while (item->parent_)
    item = item->parent_;
  return item->menu_;
}

void TMenuItem::SetCaption(const std::string& caption) {
  caption_ = caption;
  Changed();
}

void TMenuItem::SetChecked(bool checked) {
  checked_ = checked;
  if (checked && radioItem_ && parent_) {
    for (TMenuItem* other : parent_->items_) {
      if (other != this && other->radioItem_ && other->groupIndex_ == groupIndex_ &&
          other->checked_) {
        other->checked_ = false;
        other->Changed();
      }
    }
  }
  Changed();
}

void TMenuItem::SetRadioItem(bool radio) {
  radioItem_ = radio;
  Changed();
}

void TMenuItem::SetVisible(bool visible) {
  visible_ = visible;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
  shortCut_ = shortCut;
  Changed();
}

void TMenuItem::Click() {
  if (OnClick)
    OnClick(this);
}

void TMenuItem::Changed() {
  peer::UpdateMenuItem(*this);
}

TMenu::TMenu(TComponent* owner, bool popup) : TComponent(owner), root_(nullptr), popup_(popup) {
  root_.menu_ = this;
}

TMenu::~TMenu() {
  peer::DestroyMenu(*this);
}

namespace {

TMenuItem* FindShortCut(TMenuItem& item, TShortCut shortCut) {
  for (TMenuItem* sub : item.Items()) {
    if (sub->ShortCut() == shortCut)
      return sub;
    if (TMenuItem* found = FindShortCut(*sub, shortCut))
      return found;
  }
  return nullptr;
}

}  // namespace

bool TMenu::DispatchShortCut(TShortCut shortCut) {
  if (shortCut == 0)
    return false;
  TMenuItem* item = FindShortCut(root_, shortCut);
  if (!item)
    return false;
  item->Click();
  return true;
}

void TPopupMenu::Popup(int x, int y) {
  peer::Popup(*this, x, y);
}

std::string ShortCutToText(TShortCut shortCut) {
  if (shortCut == 0)
    return {};
  std::string text = (shortCut & scCtrl) ? "Ctrl+" : "";
  text += static_cast<char>(shortCut & 0xFF);
  return text;
}

}  // namespace ui

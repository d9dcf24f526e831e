#include "item_controls.h"

#include "peer.h"

namespace ui {

bool TItemList::StoreIndex(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size()))
    index = -1;
  if (index == itemIndex_)
    return false;
  itemIndex_ = index;
  return true;
}

void TRadioGroup::SetItems(const std::vector<std::string>& items) {
  items_ = items;
  itemIndex_ = -1;
  Changed(peer::kItems);
}

void TRadioGroup::SetItemIndex(int index) {
  if (!StoreIndex(index))
    return;
  Changed(peer::kItemIndex);
  if (itemIndex_ >= 0 && OnClick)
    OnClick(this);
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
  items_ = items;
  itemIndex_ = -1;
  Changed(peer::kItems);
}

void TComboBox::SetItemIndex(int index) {
  if (StoreIndex(index))
    Changed(peer::kItemIndex);
}

void TComboBox::SelectByUser(int index) {
  SetItemIndex(index);
  if (OnChange)
    OnChange(this);
}

std::string TComboBox::Text() const {
  return itemIndex_ >= 0 ? items_[static_cast<std::size_t>(itemIndex_)] : std::string();
}

}  // namespace ui

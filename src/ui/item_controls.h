// Controls that choose one of a list of texts: the radio group and the drop-down combo box.
#pragma once

#include <string>
#include <vector>

#include "controls.h"

namespace ui {

// One item of a list selected at most; the index is -1 for none.
class TItemList {
 public:
  const std::vector<std::string>& Items() const { return items_; }
  int ItemIndex() const { return itemIndex_; }

 protected:
  // Stores the index, -1 for anything outside the list; true when it changed.
  bool StoreIndex(int index);
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

class TRadioGroup : public TGroupBox, public TItemList {
 public:
  explicit TRadioGroup(TComponent* owner) : TGroupBox(owner, ControlKind::RadioGroup) {}
  void SetItems(const std::vector<std::string>& items);
  // Selecting another item runs OnClick, whoever selects it; an index outside the list clears
  // the selection and runs nothing.
  void SetItemIndex(int index);
  TNotifyEvent OnClick;
};

// A drop-down list: the text cannot be edited.
class TComboBox : public TControl, public TItemList {
 public:
  explicit TComboBox(TComponent* owner) : TControl(owner, ControlKind::ComboBox) {}
  void SetItems(const std::vector<std::string>& items);
  // The program's selection runs no handler; an index outside the list leaves none selected.
  void SetItemIndex(int index);
  // The user's selection: runs OnChange.
  void SelectByUser(int index);
  // The selected item's text, empty for none.
  std::string Text() const;
  // Items of a fixed height in pixels, each drawn as its plain text, in the list and in the box;
  // 0 (as made) leaves them as the platform draws them. Takes effect when the window is made.
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int height) { itemHeight_ = height; }
  TNotifyEvent OnChange;

 private:
  int itemHeight_ = 0;
};

}  // namespace ui

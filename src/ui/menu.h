// Main and pop-up menus: items with check marks, radio items, short-cuts, hidden items and a
// programmatic click.
#pragma once

#include <string>
#include <vector>

#include "component.h"

namespace ui {

class TMenu;

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  // Appends a sub-item; the item belongs to this one from then on.
  void Add(TMenuItem* item);
  const std::vector<TMenuItem*>& Items() const { return items_; }
  TMenuItem* Parent() const { return parent_; }
  TMenu* Menu() const;

  // "-" makes a separator line.
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Checked() const { return checked_; }
  // Checking a radio item unchecks the other radio items of its submenu and group.
  void SetChecked(bool checked);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool radio);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int group) { groupIndex_ = group; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut shortCut);

  TNotifyEvent OnClick;
  // The user's choice or the program's: runs OnClick.
  void Click();

  // Number of the item in the platform's menu commands; unique in the program.
  uint16_t Command() const { return command_; }
  static TMenuItem* FindByCommand(uint16_t command);
  // The platform's menu (HMENU) of an item with sub-items.
  void* Handle() const { return handle_; }
  void SetHandle(void* handle) { handle_ = handle; }

 private:
  friend class TMenu;
  void Changed();

  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;
  std::vector<TMenuItem*> items_;
  std::string caption_;
  bool checked_ = false;
  bool radioItem_ = false;
  int groupIndex_ = 0;
  bool visible_ = true;
  TShortCut shortCut_ = 0;
  uint16_t command_;
  void* handle_ = nullptr;
};

class TMenu : public TComponent {
 public:
  TMenu(TComponent* owner, bool popup);
  ~TMenu() override;
  // The root item; its sub-items are the menu's top items.
  TMenuItem* Items() { return &root_; }
  bool IsPopup() const { return popup_; }
  // Runs the item whose short-cut this is; true when one was found (hidden ones included).
  bool DispatchShortCut(TShortCut shortCut);
  void* Handle() const { return root_.Handle(); }

 private:
  TMenuItem root_;
  bool popup_;
};

class TMainMenu : public TMenu {
 public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner, false) {}
};

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* owner) : TMenu(owner, true) {}
  // Opens the menu at a screen position; natively nothing opens.
  void Popup(int x, int y);
};

// The text of a short-cut as menus show it: "Ctrl+O".
std::string ShortCutToText(TShortCut shortCut);

}  // namespace ui

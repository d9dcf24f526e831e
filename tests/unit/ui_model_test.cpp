#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "application.h"
#include "controls.h"
#include "dialogs.h"
#include "item_controls.h"
#include "menu.h"
#include "text_controls.h"
#include "timer.h"

namespace {

using namespace ui;

TEST(UiModelTest, RadioGroupClicksOnlyOnAChangeOfSelection) {
  TForm form(nullptr);
  auto* group = new TRadioGroup(&form);
  group->SetParent(&form);
  group->SetItems({"Сигнал", "Память прибора", "Файл"});
  std::vector<int> clicks;
  group->OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, group);
    clicks.push_back(group->ItemIndex());
  };
  struct Step {
    int set;
    int index;
  };
  const Step steps[] = {{0, 0}, {0, 0}, {2, 2}, {7, -1}, {-1, -1}, {1, 1}};
  for (const Step& s : steps) {
    group->SetItemIndex(s.set);
    EXPECT_EQ(group->ItemIndex(), s.index);
  }
  EXPECT_EQ(clicks, (std::vector<int>{0, 2, 1}));
}

TEST(UiModelTest, ComboBoxIndexOutsideTheListIsMinusOne) {
  TForm form(nullptr);
  auto* box = new TComboBox(&form);
  box->SetItems({"авто", "0,1 кВ/дел"});
  int changes = 0;
  box->OnChange = [&](TObject*) { ++changes; };
  const int given[] = {1, 12, -1, 0, 2};
  const int expected[] = {1, -1, -1, 0, -1};
  for (int i = 0; i < 5; ++i) {
    box->SetItemIndex(given[i]);
    EXPECT_EQ(box->ItemIndex(), expected[i]);
  }
  EXPECT_EQ(changes, 0);  // the program's selection runs no handler
  box->SelectByUser(1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(box->Text(), "0,1 кВ/дел");
}

TEST(UiModelTest, CheckBoxClicksWhenItsStateChanges) {
  TForm form(nullptr);
  auto* box = new TCheckBox(&form);
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  box->SetChecked(false);
  box->SetChecked(true);
  box->SetChecked(true);
  box->Toggle();
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(clicks, 2);
}

TEST(UiModelTest, RadioMenuItemsUncheckTheirGroupOnly) {
  TForm form(nullptr);
  auto* menu = new TPopupMenu(&form);
  auto* vertical = new TMenuItem(&form);
  auto* horizontal = new TMenuItem(&form);
  menu->Items()->Add(vertical);
  menu->Items()->Add(horizontal);
  std::vector<TMenuItem*> items;
  for (TMenuItem* sub : {vertical, vertical, horizontal, horizontal}) {
    auto* item = new TMenuItem(&form);
    item->SetRadioItem(true);
    sub->Add(item);
    items.push_back(item);
  }
  items[0]->SetChecked(true);
  items[2]->SetChecked(true);
  items[1]->SetChecked(true);
  EXPECT_FALSE(items[0]->Checked());
  EXPECT_TRUE(items[1]->Checked());
  EXPECT_TRUE(items[2]->Checked());  // another submenu
  // A plain check item keeps its neighbours.
  auto* plain = new TMenuItem(&form);
  vertical->Add(plain);
  plain->SetChecked(true);
  EXPECT_TRUE(items[1]->Checked());
  EXPECT_EQ(items[1]->Menu(), menu);
}

TEST(UiModelTest, MenuShortCutsAndProgrammaticClicks) {
  TForm form(nullptr);
  auto* menu = new TMainMenu(&form);
  auto* file = new TMenuItem(&form);
  auto* open = new TMenuItem(&form);
  menu->Items()->Add(file);
  file->Add(open);
  open->SetShortCut(16463);
  int opened = 0;
  open->OnClick = [&](TObject*) { ++opened; };
  EXPECT_TRUE(menu->DispatchShortCut(scCtrl | 'O'));
  EXPECT_FALSE(menu->DispatchShortCut(scCtrl | 'S'));
  open->Click();
  EXPECT_EQ(opened, 2);
  EXPECT_EQ(ShortCutToText(16467), "Ctrl+S");
  EXPECT_EQ(TMenuItem::FindByCommand(open->Command()), open);
}

TEST(UiModelTest, AlignedPanelsShareTheClientArea) {
  TForm form(nullptr);
  form.SetClientSize(965, 458);
  auto* up = new TPanel(&form);
  auto* status = new TStatusBar(&form);
  auto* service = new TPanel(&form);
  auto* chart = new TPaintControl(&form);
  up->SetHeight(113);
  service->SetWidth(170);
  for (TControl* c : std::vector<TControl*>{up, status, service, chart})
    c->SetParent(&form);
  up->SetAlign(TAlign::alTop);
  service->SetAlign(TAlign::alRight);
  chart->SetAlign(TAlign::alClient);
  service->SetVisible(false);
  EXPECT_EQ(chart->Width(), 965);
  service->SetVisible(true);
  struct Expect {
    TControl* control;
    TRect rect;
  };
  const Expect expected[] = {
      {up, {0, 0, 965, 113}},
      {status, {0, 439, 965, 458}},
      {service, {795, 113, 965, 439}},
      {chart, {0, 113, 795, 439}},
  };
  for (const Expect& e : expected) {
    TRect r = e.control->BoundsRect();
    EXPECT_EQ(r.left, e.rect.left);
    EXPECT_EQ(r.top, e.rect.top);
    EXPECT_EQ(r.right, e.rect.right);
    EXPECT_EQ(r.bottom, e.rect.bottom);
  }
}

TEST(UiModelTest, TabVisitsTheShownEnabledStopsInTabOrderThroughPanels) {
  TForm form(nullptr);
  auto make = [&form](TControl* control, TControl* parent) {
    control->SetParent(parent);
    return control;
  };
  TControl* panel = make(new TPanel(&form), &form);
  TControl* second = make(new TButton(&form), panel);
  TControl* first = make(new TButton(&form), panel);
  TControl* hidden = make(new TCheckBox(&form), panel);
  TControl* disabled = make(new TComboBox(&form), panel);
  TControl* label = make(new TLabel(&form), &form);
  TControl* chart = make(new TPaintControl(&form), &form);
  TControl* memo = make(new TMemo(&form), &form);
  first->SetTabOrder(0);
  hidden->SetVisible(false);
  disabled->SetEnabled(false);
  EXPECT_EQ(first->TabOrder(), 0);
  EXPECT_EQ(second->TabOrder(), 1);
  EXPECT_EQ(label->TabOrder(), 1);

  const struct {
    TControl* from;
    bool forward;
    TControl* next;
  } steps[] = {
      {nullptr, true, first}, {first, true, second},  {second, true, memo},
      {memo, true, first},    {nullptr, false, memo}, {first, false, memo},
      {chart, true, memo},    {chart, false, second}, {hidden, true, first},
  };
  for (const auto& s : steps)
    EXPECT_EQ(form.NextTabStop(s.from, s.forward), s.next);
  // A control moved past the end goes last.
  first->SetTabOrder(99);
  EXPECT_EQ(form.NextTabStop(nullptr, true), second);
  EXPECT_EQ(form.NextTabStop(second, true), first);
}

TEST(UiModelTest, EnterAndEscPressTheFormsButtons) {
  TForm form(nullptr);
  std::string pressed;
  auto button = [&](const std::string& name) {
    auto* b = new TButton(&form);
    b->SetParent(&form);
    b->OnClick = [&pressed, name](TObject*) { pressed = name; };
    return b;
  };
  TButton* run = button("run");
  TButton* close = button("close");
  auto* memo = new TMemo(&form);
  memo->SetParent(&form);
  EXPECT_FALSE(form.DialogKey(TDialogKey::Enter, nullptr));
  EXPECT_FALSE(form.DialogKey(TDialogKey::Escape, nullptr));
  form.SetDefaultButton(run);
  form.SetCancelButton(close);

  const struct {
    TDialogKey key;
    TControl* focused;
    bool used;
    const char* pressed;
  } cases[] = {
      {TDialogKey::Enter, nullptr, true, "run"}, {TDialogKey::Enter, close, true, "close"},
      {TDialogKey::Enter, memo, false, ""},      {TDialogKey::Escape, run, true, "close"},
      {TDialogKey::Escape, memo, true, "close"}, {TDialogKey::Tab, run, true, ""},
  };
  for (const auto& c : cases) {
    pressed.clear();
    EXPECT_EQ(form.DialogKey(c.key, c.focused), c.used);
    EXPECT_EQ(pressed, c.pressed);
  }
  // A disabled or hidden button is not pressed.
  run->SetEnabled(false);
  close->SetVisible(false);
  EXPECT_FALSE(form.DialogKey(TDialogKey::Enter, nullptr));
  EXPECT_FALSE(form.DialogKey(TDialogKey::Escape, nullptr));
}

TEST(UiModelTest, AutoSizedRightAlignedLabelKeepsItsRightEdge) {
  TForm form(nullptr);
  auto* label = new TLabel(&form);
  label->SetAutoSize(false);
  label->SetBounds(153, 16, 80, 32);
  label->SetAlignment(TAlignment::taRightJustify);
  label->SetAutoSize(true);
  for (const char* text : {"0.00", "1234.567", "1"}) {
    label->SetCaption(text);
    EXPECT_EQ(label->Left() + label->Width(), 233) << text;
  }
}

TEST(UiModelTest, GridCellsFollowTheCounts) {
  TForm form(nullptr);
  auto* grid = new TStringGrid(&form);
  grid->SetColCount(8);
  grid->SetRowCount(21);
  grid->SetCell(7, 20, "x");
  grid->SetRowCount(11);
  EXPECT_EQ(grid->Cell(7, 20), "");
  grid->SetCell(7, 10, "3.27 %");
  grid->SetCell(8, 0, "outside");
  EXPECT_EQ(grid->Cell(7, 10), "3.27 %");
  EXPECT_EQ(grid->Cell(8, 0), "");
  auto* status = new TStatusBar(&form);
  status->AddPanel(50);
  status->SetPanelText(0, "Поиск прибора");
  status->SetPanelText(3, "none");
  EXPECT_EQ(status->PanelText(0), "Поиск прибора");
  auto* memo = new TMemo(&form);
  memo->AddLine("OK");
  memo->ClearLines();
  EXPECT_TRUE(memo->Lines().empty());
}

struct CreatedForm : TForm {
  static CreatedForm* global;
  bool sawGlobal = false;
  int creates = 0;
  explicit CreatedForm(TComponent* owner) : TForm(owner) {
    sawGlobal = global == this;
    OnCreate = [this](TObject*) { ++creates; };
  }
};
CreatedForm* CreatedForm::global = nullptr;

TEST(UiModelTest, ApplicationSetsTheGlobalBeforeTheConstructorAndClosesOnMainForm) {
  TApplication app;
  app.CreateForm(CreatedForm::global);
  EXPECT_TRUE(CreatedForm::global->sawGlobal);
  EXPECT_EQ(CreatedForm::global->creates, 1);
  EXPECT_EQ(app.MainForm(), CreatedForm::global);
  CreatedForm* second = nullptr;
  app.CreateForm(second);
  EXPECT_EQ(app.MainForm(), CreatedForm::global);
}

TEST(UiModelTest, CloseActionDecidesAndModalCloseRunsOnClose) {
  TForm dialog(nullptr);
  int closes = 0;
  TCloseAction next = TCloseAction::caNone;
  dialog.OnClose = [&](TObject*, TCloseAction& action) {
    ++closes;
    action = next;
  };
  dialog.Show();
  dialog.Close();
  EXPECT_TRUE(dialog.Visible());
  next = TCloseAction::caHide;
  dialog.Close();
  EXPECT_FALSE(dialog.Visible());

  auto* ok = new TButton(&dialog);
  ok->OnClick = [&](TObject*) { dialog.Close(); };
  SetModalHook([&](TForm& shown) {
    EXPECT_TRUE(shown.Visible());
    ok->Click();
  });
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  EXPECT_EQ(closes, 3);
  SetModalHook(nullptr);
  // Without a hook the native modal run ends at once, through OnClose.
  dialog.ShowModal();
  EXPECT_EQ(closes, 4);
}

TEST(UiModelTest, DialogsAndMessageBoxesGoThroughHooks) {
  TForm form(nullptr);
  TOpenDialog open(nullptr);
  EXPECT_FALSE(open.Execute());  // natively: cancelled
  SetFileDialogHook([](TFileDialog& d) {
    d.fileName = "rec." + d.defaultExt;
    return true;
  });
  open.defaultExt = "VRX470";
  EXPECT_TRUE(open.Execute());
  EXPECT_EQ(open.fileName, "rec.VRX470");
  SetFileDialogHook(nullptr);

  std::vector<std::string> shown;
  SetMessageBoxHook([&](TForm*, const std::string& text, const std::string& caption, unsigned) {
    shown.push_back(caption + "|" + text);
    return ID_OK_ANSWER;
  });
  ShowMessageBox(&form, "Ошибка открытия файла!", "Ошибка!", MB_ERROR_ICON);
  Application->ShowException(Exception("Cannot create file C:\\a.csv"));
  Application->ShowException(Exception("Stream write error."));
  SetMessageBoxHook(nullptr);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0], "Ошибка!|Ошибка открытия файла!");
  EXPECT_EQ(shown[1], "VRX-470|Cannot create file C:\\a.csv.");
  EXPECT_EQ(shown[2], "VRX-470|Stream write error.");
}

TEST(UiModelTest, PlacementKeepsTheNormalRectangleAndMinimumSize) {
  TForm form(nullptr);
  form.SetMinSize(400, 200);
  WindowPlacement placement;
  form.GetPlacement(placement);
  placement.normalPosition = {1000, 100, 420, 500};
  placement.showCmd = SW_SHOWMAXIMIZED_STATE;
  form.SetPlacement(placement);
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(form.WindowState(), TWindowState::wsMaximized);
  EXPECT_EQ(form.Width(), 400);
  WindowPlacement back;
  form.GetPlacement(back);
  EXPECT_EQ(back.showCmd, SW_SHOWMAXIMIZED_STATE);
  EXPECT_EQ(back.normalPosition.left, 1000);
  placement.showCmd = SW_HIDE_STATE;
  form.SetPlacement(placement);
  EXPECT_FALSE(form.Visible());
}

TEST(UiModelTest, TimerTicksOnlyWhileEnabled) {
  TTimer timer(nullptr);
  timer.SetInterval(500);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) { ++ticks; };
  timer.Tick();
  timer.SetEnabled(false);
  timer.Tick();
  EXPECT_EQ(ticks, 1);
}

TEST(UiModelTest, ResizeEventSeesTheLaidOutChildren) {
  TForm form(nullptr);
  auto* grid = new TStringGrid(&form);
  grid->SetParent(&form);
  grid->SetHeight(169);
  grid->SetAlign(TAlign::alBottom);
  grid->SetColCount(8);
  form.OnResize = [&](TObject*) { grid->SetDefaultColWidth((grid->Width() - 10) / 8); };
  form.SetBounds(0, 0, 856, 563);
  EXPECT_EQ(grid->Width(), 848);
  EXPECT_EQ(grid->DefaultColWidth(), 104);
}

}  // namespace

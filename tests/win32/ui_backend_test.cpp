// The Win32 back end realises a form with every control kind, and real window messages drive
// the model's events.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "application.h"
#include "canvas.h"
#include "controls.h"
#include "dialogs.h"
#include "format.h"
#include "item_controls.h"
#include "menu.h"
#include "text.h"
#include "text_controls.h"
#include "thread.h"
#include "timer.h"
#include "virtual_desktop.h"

namespace {

using namespace ui;

HWND Hwnd(const TControl* control) {
  return static_cast<HWND>(control->Handle());
}

std::string WindowText(HWND window) {
  wchar_t buffer[256] = {};
  ::GetWindowTextW(window, buffer, 256);
  return os::WideToUtf8(buffer);
}

// Runs the queued messages until done() or about two seconds have passed.
bool PumpUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 400 && !done(); ++i) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::Sleep(5);
  }
  return done();
}

struct TestForm : TForm {
  TPanel* panel;
  TGroupBox* group;
  TLabel* label;
  TButton* button;
  TCheckBox* check;
  TRadioGroup* radio;
  TComboBox* combo;
  TStringGrid* grid;
  TMemo* memo;
  TStatusBar* status;
  TPaintControl* paint;
  TMainMenu* menu;
  TMenuItem* file;
  TMenuItem* open;
  int clicks = 0, checks = 0, changes = 0, opens = 0, closes = 0, paints = 0;
  std::vector<int> radioClicks;

  explicit TestForm(TComponent* owner) : TForm(owner) {
    SetCaption("Киловольтметр");
    SetBounds(50, 50, 700, 500);
    SetMinSize(400, 300);
    panel = Make<TPanel>(this);
    panel->SetHeight(120);
    panel->SetAlign(TAlign::alTop);
    group = Make<TGroupBox>(panel);
    group->SetBounds(8, 8, 200, 100);
    label = Make<TLabel>(group);
    label->SetBounds(8, 16, 80, 20);
    label->SetCaption("0.00");
    button = Make<TButton>(panel);
    button->SetBounds(220, 8, 100, 25);
    button->SetCaption("Пуск/Пауза");
    button->OnClick = [this](TObject*) { ++clicks; };
    check = Make<TCheckBox>(panel);
    check->SetBounds(220, 40, 140, 17);
    check->SetCaption("Показывать точки");
    check->OnClick = [this](TObject*) { ++checks; };
    radio = Make<TRadioGroup>(panel);
    radio->SetBounds(370, 8, 180, 100);
    radio->SetCaption("Источник сигнала");
    radio->SetItems({"Сигнал", "Память прибора", "Файл"});
    radio->SetItemIndex(0);
    radio->OnClick = [this](TObject*) { radioClicks.push_back(radio->ItemIndex()); };
    combo = Make<TComboBox>(panel);
    combo->SetBounds(560, 8, 120, 21);
    combo->SetItems({"авто", "0,1 кВ/дел", "0,2 кВ/дел"});
    combo->OnChange = [this](TObject*) { ++changes; };
    status = Make<TStatusBar>(this);
    status->AddPanel(50);
    grid = Make<TStringGrid>(this);
    grid->SetHeight(100);
    grid->SetAlign(TAlign::alBottom);
    grid->SetColCount(8);
    grid->SetCell(0, 0, "Номер гарм.");
    memo = Make<TMemo>(this);
    memo->SetAlign(TAlign::alRight);
    memo->SetWidth(150);
    memo->AddLine("Поиск прибора");
    paint = Make<TPaintControl>(this);
    paint->SetAlign(TAlign::alClient);
    paint->OnPaint = [this](TObject*, TCanvas& canvas) {
      ++paints;
      canvas.SetPen(clRed, 2, TPenStyle::psSolid);
      canvas.MoveTo(0, 0);
      canvas.LineTo(10, 10);
    };
    menu = new TMainMenu(this);
    file = new TMenuItem(this);
    file->SetCaption("Файл");
    open = new TMenuItem(this);
    open->SetCaption("Открыть");
    open->SetShortCut(16463);
    open->OnClick = [this](TObject*) { ++opens; };
    menu->Items()->Add(file);
    file->Add(open);
    SetMenu(menu);
    OnClose = [this](TObject*, TCloseAction&) { ++closes; };
  }

  template <class T>
  T* Make(TControl* parent) {
    T* control = new T(this);
    control->SetParent(parent);
    return control;
  }
};

TButton* modalButton = nullptr;
void CALLBACK ClickModalButton(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  ::PostMessageW(Hwnd(modalButton), BM_CLICK, 0, 0);
}

class BackendTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(UseDesktopOfOurOwn(L"vrx_backend_test"));
    Application->Initialize();
  }
  void SetUp() override {
    form = new TestForm(Application);
    form->Show();
  }
  void TearDown() override { delete form; }
  TestForm* form = nullptr;
};

TEST_F(BackendTest, RealisesEveryControlKindAsAWindow) {
  ASSERT_NE(form->Handle(), nullptr);
  for (TControl* c : std::vector<TControl*>{form->panel, form->group, form->label, form->button,
                                            form->check, form->radio, form->combo, form->grid,
                                            form->memo, form->status, form->paint}) {
    ASSERT_NE(c->Handle(), nullptr);
    EXPECT_TRUE(::IsWindow(Hwnd(c)));
  }
  EXPECT_TRUE(::IsWindowVisible(Hwnd(form)));
  EXPECT_EQ(WindowText(Hwnd(form)), "Киловольтметр");
  EXPECT_EQ(WindowText(Hwnd(form->button)), "Пуск/Пауза");
  EXPECT_EQ(::SendMessageW(Hwnd(form->combo), CB_GETCOUNT, 0, 0), 3);
  EXPECT_NE(::GetMenu(Hwnd(form)), nullptr);

  // A property change reaches the window.
  form->label->SetCaption("1.234");
  EXPECT_EQ(WindowText(Hwnd(form->label)), "1.234");
  form->status->SetPanelText(0, "Поиск прибора");
  wchar_t text[64] = {};
  ::SendMessageW(Hwnd(form->status), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(os::WideToUtf8(text), "Поиск прибора");
  form->check->SetChecked(true);
  EXPECT_EQ(::SendMessageW(Hwnd(form->check), BM_GETCHECK, 0, 0), BST_CHECKED);
  form->combo->SetItemIndex(2);
  EXPECT_EQ(::SendMessageW(Hwnd(form->combo), CB_GETCURSEL, 0, 0), 2);
  form->memo->AddLine("OK");
  EXPECT_EQ(WindowText(Hwnd(form->memo)), "Поиск прибора\r\nOK");
  form->panel->SetVisible(false);
  EXPECT_FALSE(::IsWindowVisible(Hwnd(form->panel)));
  form->paint->Repaint();
  EXPECT_GT(form->paints, 0);
}

TEST_F(BackendTest, RealMessagesDriveTheEvents) {
  ::SendMessageW(Hwnd(form->button), BM_CLICK, 0, 0);
  EXPECT_EQ(form->clicks, 1);

  ::SendMessageW(Hwnd(form->check), BM_CLICK, 0, 0);
  EXPECT_TRUE(form->check->Checked());
  EXPECT_EQ(form->checks, 1);

  // The user's pick in the list: the selection, then its notification to the parent.
  HWND combo = Hwnd(form->combo);
  ::SendMessageW(combo, CB_SETCURSEL, 1, 0);
  ::SendMessageW(::GetParent(combo), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  EXPECT_EQ(form->combo->ItemIndex(), 1);
  EXPECT_EQ(form->changes, 1);

  HWND third =
      ::GetWindow(::GetWindow(::GetWindow(Hwnd(form->radio), GW_CHILD), GW_HWNDNEXT), GW_HWNDNEXT);
  ::SendMessageW(third, BM_CLICK, 0, 0);
  EXPECT_EQ(form->radio->ItemIndex(), 2);
  EXPECT_EQ(form->radioClicks, std::vector<int>{2});

  ::SendMessageW(Hwnd(form), WM_COMMAND, form->open->Command(), 0);
  EXPECT_EQ(form->opens, 1);

  ::SendMessageW(Hwnd(form), WM_CLOSE, 0, 0);
  EXPECT_EQ(form->closes, 1);
  EXPECT_FALSE(::IsWindowVisible(Hwnd(form)));
}

TEST_F(BackendTest, MenuChangesRebuildTheMenuBar) {
  HMENU bar = ::GetMenu(Hwnd(form));
  ASSERT_NE(bar, nullptr);
  auto* hidden = new TMenuItem(form);
  hidden->SetCaption("Утилиты");
  hidden->SetVisible(false);
  form->menu->Items()->Add(hidden);
  EXPECT_EQ(::GetMenuItemCount(::GetMenu(Hwnd(form))), 1);
  hidden->SetVisible(true);
  EXPECT_EQ(::GetMenuItemCount(::GetMenu(Hwnd(form))), 2);
  form->open->SetChecked(true);
  HMENU sub = ::GetSubMenu(::GetMenu(Hwnd(form)), 0);
  EXPECT_EQ(::GetMenuState(sub, form->open->Command(), MF_BYCOMMAND) & MF_CHECKED,
            static_cast<UINT>(MF_CHECKED));
}

TEST_F(BackendTest, PlacementGoesThroughTheWindow) {
  WindowPlacement placement;
  form->GetPlacement(placement);
  placement.normalPosition = {20, 30, 720, 430};
  placement.showCmd = SW_SHOWMAXIMIZED_STATE;
  form->SetPlacement(placement);
  EXPECT_TRUE(::IsZoomed(Hwnd(form)));
  WindowPlacement back;
  form->GetPlacement(back);
  EXPECT_EQ(back.showCmd, SW_SHOWMAXIMIZED_STATE);
  EXPECT_EQ(back.normalPosition.left, 20);
  EXPECT_EQ(back.normalPosition.right, 720);
  EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
}

TEST_F(BackendTest, TimersAndSynchronisedCallsRunInTheMessageLoop) {
  TTimer timer(form);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) { ++ticks; };
  timer.SetInterval(20);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }));
  timer.SetEnabled(false);

  struct Worker : os::TThread {
    Worker() : TThread(false) {}
    int value = 0;
    void Execute() override {
      Synchronize([this] { value = 7; });
    }
  };
  Worker* worker = os::TThread::Create<Worker>();
  EXPECT_TRUE(PumpUntil([&] { return worker->Finished(); }));
  EXPECT_EQ(worker->value, 7);
  worker->WaitFor();
  delete worker;
}

TEST_F(BackendTest, ModalFormEndsThroughItsCloseHandler) {
  TForm dialog(Application);
  dialog.SetPosition(TPosition::poMainFormCenter);
  int closes = 0;
  dialog.OnClose = [&](TObject*, TCloseAction&) { ++closes; };
  auto* ok = new TButton(&dialog);
  ok->SetParent(&dialog);
  ok->SetBounds(10, 10, 75, 25);
  ok->OnClick = [&](TObject*) { dialog.Close(); };
  // The click arrives as a real message once the modal loop runs.
  modalButton = ok;
  ::SetTimer(nullptr, 0, 50, &ClickModalButton);
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(::IsWindowVisible(static_cast<HWND>(dialog.Handle())));
}

TEST(PlatformTest, LocaleIsReadAndMessageBoxesCanBeAnswered) {
  const Locale locale = UserLocale();
  EXPECT_FALSE(locale.decimalSeparator.empty());
  EXPECT_FALSE(locale.shortDate.empty());
  EXPECT_GT(Now(), 45000.0);

  // The platform formats the user's pictures, naming days, months and eras in the user's
  // language; the numeric default pictures come out as they always did.
  const SYSTEMTIME moment{2009, 3, 4, 5, 9, 7, 9, 0};
  auto platformText = [&](const char* picture, bool date) {
    wchar_t text[128] = {};
    const std::wstring format = os::Utf8ToWide(picture);
    if (date)
      ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &moment, format.c_str(), text, 128, nullptr);
    else
      ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &moment, format.c_str(), text, 128);
    return os::WideToUtf8(text);
  };
  struct Case {
    const char* date;
    const char* time;
    const char* expected;  // null: the platform's own texts
  };
  const Case cases[] = {{"dd.MM.yyyy", "H:mm:ss", "05.03.2009 9:07:09"},
                        {"dd-MMM-yy", "HH:mm:ss", nullptr},
                        {"dddd, MMMM d, yyyy", "h:mm:ss tt", nullptr},
                        {"gg yyyy/MM/dd", "H:mm:ss", nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.date);
    Locale pictures = locale;
    pictures.shortDate = c.date;
    pictures.longTime = c.time;
    SetUserLocale(pictures);
    EXPECT_EQ(
        DateTimeToStr(EncodeDateTime({2009, 3, 5, 9, 7, 9, 0})),
        c.expected ? c.expected : platformText(c.date, true) + " " + platformText(c.time, false));
  }
  SetUserLocale(locale);
  SetMessageBoxHook([](TForm*, const std::string&, const std::string&, unsigned) { return 1; });
  EXPECT_EQ(ShowMessageBox(nullptr, "Ошибка открытия файла!", "Ошибка!", MB_ERROR_ICON), 1);
  SetMessageBoxHook(nullptr);
}

}  // namespace

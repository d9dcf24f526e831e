// Forms behave as the platform's windows do: maximised and restored they lay their controls out
// anew, and a placement set before the message loop holds.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "application.h"
#include "controls.h"
#include "form.h"
#include "item_controls.h"
#include "menu.h"
#include "peer.h"
#include "text_controls.h"
#include "virtual_desktop.h"

namespace {

using namespace ui;

HWND Hwnd(const TControl* control) {
  return static_cast<HWND>(control->Handle());
}

// Runs the program's message handling until done() or about three seconds have passed.
bool PumpUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 300 && !done(); ++i) {
    Application->ProcessMessages();
    ::Sleep(10);
  }
  return done();
}

void Pump(int milliseconds) {
  for (int waited = 0; waited < milliseconds; waited += 10) {
    Application->ProcessMessages();
    ::Sleep(10);
  }
}

// A child window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child) {
  RECT r;
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string Describe(const RECT& r) {
  return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

// The main window's layout: a panel at the top, a status bar at the bottom, a chart between.
struct MainForm : TForm {
  TPanel* up;
  TStatusBar* status;
  TPaintControl* chart;
  TMainMenu* menu;
  TMenuItem* open;
  int opens = 0;

  explicit MainForm(TComponent* owner) : TForm(owner) {
    SetCaption("Главное окно");
    SetBounds(40, 40, 600, 400);
    up = Make<TPanel>(this);
    up->SetHeight(113);
    up->SetAlign(TAlign::alTop);
    status = Make<TStatusBar>(this);
    status->SetHeight(19);
    status->SetAlign(TAlign::alBottom);
    status->AddPanel(50);
    chart = Make<TPaintControl>(this);
    chart->SetAlign(TAlign::alClient);
    menu = new TMainMenu(this);
    auto* file = new TMenuItem(this);
    file->SetCaption("Файл");
    open = new TMenuItem(this);
    open->SetCaption("Открыть");
    open->SetShortCut(scCtrl | 'O');
    open->OnClick = [this](TObject*) { ++opens; };
    menu->Items()->Add(file);
    file->Add(open);
    SetMenu(menu);
  }

  template <class T>
  T* Make(TControl* parent) {
    T* control = new T(this);
    control->SetParent(parent);
    return control;
  }

  // The real windows of the aligned controls cover the client area as the alignment says.
  void ExpectLaidOut() const {
    RECT client;
    ::GetClientRect(Hwnd(this), &client);
    const RECT top = RectInParent(Hwnd(up));
    const RECT bottom = RectInParent(Hwnd(status));
    const RECT rest = RectInParent(Hwnd(chart));
    EXPECT_EQ(Describe(top), Describe({0, 0, client.right, 113}));
    EXPECT_EQ(bottom.bottom, client.bottom) << "status bar at " << Describe(bottom);
    EXPECT_EQ(bottom.right, client.right) << "status bar at " << Describe(bottom);
    EXPECT_EQ(Describe(rest), Describe({0, 113, client.right, bottom.top}));
  }

  // The restore box: the window takes its normal rectangle again and its controls follow.
  void RestoreAndExpect(const RECT& normal) {
    HWND window = Hwnd(this);
    ::SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(PumpUntil([&] { return !::IsZoomed(window); }));
    Pump(50);
    RECT r;
    ::GetWindowRect(window, &r);
    EXPECT_EQ(Describe(r), Describe(normal));
    ExpectLaidOut();
    EXPECT_EQ(WindowState(), TWindowState::wsNormal);
  }
};

MainForm* mainForm = nullptr;

class FormsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(UseDesktopOfOurOwn(L"vrx_forms_test"));
    Application->Initialize();
    Application->CreateForm(mainForm);
    mainForm->Show();
  }

  void SetUp() override {
    ::ShowWindow(Hwnd(mainForm), SW_RESTORE);
    ::SetForegroundWindow(Hwnd(mainForm));
    Pump(50);
  }
};

TEST_F(FormsTest, MaximisingAndRestoringLayTheControlsOutAnew) {
  HWND window = Hwnd(mainForm);
  // What the maximise box and a double click on the caption do.
  ::SendMessageW(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  ASSERT_TRUE(PumpUntil([&] { return ::IsZoomed(window) != FALSE; }));
  Pump(50);
  RECT client;
  ::GetClientRect(window, &client);
  EXPECT_GT(client.right, 700);
  mainForm->ExpectLaidOut();
  EXPECT_EQ(mainForm->WindowState(), TWindowState::wsMaximized);

  mainForm->RestoreAndExpect({40, 40, 640, 440});
}

TEST_F(FormsTest, MaximisedPlacementSetBeforeTheMessageLoopHolds) {
  // As the main window's creation does it: the placement is applied to the new window, and the
  // message loop realises the main window once more when it starts.
  MainForm form(Application);
  WindowPlacement placement;
  form.GetPlacement(placement);
  placement.normalPosition = {100, 80, 700, 480};
  placement.showCmd = SW_SHOWMAXIMIZED_STATE;
  form.SetPlacement(placement);
  HWND window = Hwnd(&form);
  RECT work;
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  auto expectMaximised = [&] {
    ASSERT_TRUE(::IsZoomed(window));
    RECT r;
    ::GetWindowRect(window, &r);
    EXPECT_TRUE(r.left <= work.left && r.top <= work.top && r.right >= work.right &&
                r.bottom >= work.bottom)
        << Describe(r) << " does not cover the screen";
    form.ExpectLaidOut();
    RECT status;
    ::GetWindowRect(Hwnd(form.status), &status);
    EXPECT_LE(status.bottom, work.bottom) << "the status bar is out of sight";
  };
  peer::Realize(form);
  Pump(50);
  expectMaximised();
  // Nor do bounds that the program gives the form while it is maximised undo it.
  form.SetBounds(100, 80, 973, 512);
  Pump(50);
  expectMaximised();

  form.RestoreAndExpect({100, 80, 700, 480});
  form.GetPlacement(placement);
  EXPECT_EQ(placement.showCmd, SW_SHOWNORMAL_STATE);
}

}  // namespace

// Forms behave as the platform's windows do: maximised and restored they lay their controls out
// anew, a placement set before the message loop holds, Tab moves the focus in tab order, the
// main menu's short-cuts reach every window, labels change without a blank frame, and only a
// dialog is held in front of the main window.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "application.h"
#include "controls.h"
#include "form.h"
#include "key_presses.h"
#include "menu.h"
#include "peer.h"
#include "text_controls.h"
#include "virtual_desktop.h"

namespace {

using namespace ui;

HWND Hwnd(const TControl* control) {
  return static_cast<HWND>(control->Handle());
}

// Runs the program's message handling until done() or about `milliseconds` have passed.
bool PumpUntil(const std::function<bool()>& done, int milliseconds = 3000) {
  for (int waited = 0; waited < milliseconds && !done(); waited += 10) {
    Application->ProcessMessages();
    ::Sleep(10);
  }
  return done();
}

void Pump(int milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

// A control of the form on parent, at the given place (none for an aligned control).
template <class T>
T* Put(TForm& form, TControl* parent, TRect bounds = {}) {
  T* control = new T(&form);
  control->SetParent(parent);
  if (bounds.right > bounds.left)
    control->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left,
                       bounds.bottom - bounds.top);
  return control;
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
    up = Put<TPanel>(*this, this);
    up->SetHeight(113);
    up->SetAlign(TAlign::alTop);
    status = Put<TStatusBar>(*this, this);
    status->SetHeight(19);
    status->SetAlign(TAlign::alBottom);
    status->AddPanel(50);
    chart = Put<TPaintControl>(*this, this);
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

TEST_F(FormsTest, AMaximisedPlacementHoldsAndMaximisingOrRestoringLaysTheControlsOutAnew) {
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
    EXPECT_EQ(form.WindowState(), TWindowState::wsMaximized);
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

  // What the maximise box and a double click on the caption do, then the restore box again.
  ::SendMessageW(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  ASSERT_TRUE(PumpUntil([&] { return ::IsZoomed(window) != FALSE; }));
  Pump(50);
  expectMaximised();
  form.RestoreAndExpect({100, 80, 700, 480});
}

TEST_F(FormsTest, MainMenuShortCutsWorkWhileAnotherWindowIsActive) {
  TForm other(Application);
  other.SetBounds(300, 300, 300, 200);
  other.Show();
  ::SetForegroundWindow(Hwnd(&other));
  ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == Hwnd(&other); }));
  mainForm->opens = 0;
  PressChord({VK_CONTROL, 'O'});
  EXPECT_TRUE(PumpUntil([&] { return mainForm->opens == 1; }))
      << "Ctrl+O in another window ran the main menu's item " << mainForm->opens << " times";
}

TEST_F(FormsTest, TabMovesTheFocusThroughTheControlsInTabOrder) {
  TForm form(Application);
  form.SetBounds(200, 200, 400, 300);
  auto* panel = Put<TPanel>(form, &form, {0, 0, 400, 100});
  // Placed after the check box, the first button comes first by its tab order.
  auto* check = Put<TCheckBox>(form, panel, {8, 40, 108, 57});
  auto* first = Put<TButton>(form, panel, {8, 8, 83, 33});
  first->SetTabOrder(0);
  auto* hidden = Put<TButton>(form, panel, {88, 8, 163, 33});
  hidden->SetVisible(false);
  hidden->SetTabOrder(1);
  auto* memo = Put<TMemo>(form, &form, {8, 110, 208, 210});
  form.Show();
  ::SetForegroundWindow(Hwnd(&form));
  ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == Hwnd(&form); }));
  // Shown, the form gives the focus to its first control.
  EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == Hwnd(first); }));

  const struct {
    std::vector<WORD> keys;
    TControl* focused;
  } steps[] = {
      {{VK_TAB}, check},           {{VK_TAB}, memo}, {{VK_TAB}, first}, {{VK_SHIFT, VK_TAB}, memo},
      {{VK_SHIFT, VK_TAB}, check},
  };
  int step = 0;
  for (const auto& s : steps) {
    PressChord(s.keys);
    EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == Hwnd(s.focused); }))
        << "step " << step << ": the focus is not where the tab order puts it";
    ++step;
  }
}

struct RecordCount {
  DWORD type;
  int found;
};

int CALLBACK CountRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
  auto* count = reinterpret_cast<RecordCount*>(data);
  count->found += record->iType == count->type;
  return 1;
}

// The pixels of a rectangle of a window's client area (0x00RRGGBB, top row first), as the
// window's own surface holds them: what reaches the screen, children included.
std::vector<uint32_t> Pixels(HWND window, const RECT& r, bool printed = false) {
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC memory = ::CreateCompatibleDC(nullptr);
  HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  if (printed) {
    // What the window draws of itself now.
    ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  } else {
    HDC dc = ::GetDCEx(window, nullptr, DCX_CACHE);
    ::BitBlt(memory, 0, 0, width, height, dc, r.left, r.top, SRCCOPY);
    ::ReleaseDC(window, dc);
  }
  ::GdiFlush();
  std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits),
                               static_cast<const uint32_t*>(bits) + width * height);
  for (uint32_t& pixel : pixels)
    pixel &= 0xFFFFFF;
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  return pixels;
}

// Pixels of the area a label's old and new box cover that differ from what the label shows now:
// its own drawing within its box, the background elsewhere.
int PixelsOtherThanTheLabel(HWND form, HWND label, const RECT& old) {
  const RECT box = RectInParent(label);
  RECT both;
  ::UnionRect(&both, &old, &box);
  const std::vector<uint32_t> seen = Pixels(form, both);
  const std::vector<uint32_t> drawn =
      Pixels(label, {0, 0, box.right - box.left, box.bottom - box.top}, true);
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  const uint32_t background = GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face);
  const int width = both.right - both.left;
  int wrong = 0;
  for (int y = both.top; y < both.bottom; ++y) {
    for (int x = both.left; x < both.right; ++x) {
      const bool inBox = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
      const uint32_t expected =
          inBox ? drawn[(y - box.top) * (box.right - box.left) + (x - box.left)] : background;
      wrong += seen[(y - both.top) * width + (x - both.left)] != expected;
    }
  }
  return wrong;
}

// How many drawing steps of a kind a recorded painting holds.
int RecordsOfType(HENHMETAFILE metafile, DWORD type) {
  RecordCount count{type, 0};
  ::EnumEnhMetaFile(nullptr, metafile, &CountRecord, &count, nullptr);
  return count.found;
}

TEST_F(FormsTest, LabelTextReachesTheWindowInOneCopy) {
  // A readout that a reading rewrites: big, right-aligned, sized to its text.
  TForm form(Application);
  form.SetBounds(200, 200, 400, 200);
  form.SetDoubleBuffered(true);
  auto* label = Put<TLabel>(form, &form, {153, 16, 233, 48});
  label->SetAlignment(TAlignment::taRightJustify);
  TFont font;
  font.name = "Lucida Console";
  font.height = 32;
  font.bold = true;
  label->SetFont(font);
  label->SetCaption("9.99");
  form.Show();
  Pump(50);
  label->SetCaption("10.01");

  // Every step a window takes on the screen may be seen: the new text must come in one copy of
  // a finished picture, never as the background first and the text after it.
  HDC screen = ::GetDC(nullptr);
  HDC recorder = ::CreateEnhMetaFileW(screen, nullptr, nullptr, nullptr);
  ::ReleaseDC(nullptr, screen);
  ::SendMessageW(Hwnd(label), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(recorder), PRF_CLIENT);
  HENHMETAFILE drawn = ::CloseEnhMetaFile(recorder);
  ASSERT_NE(drawn, nullptr);
  EXPECT_EQ(RecordsOfType(drawn, EMR_EXTTEXTOUTW), 0) << "text drawn straight onto the window";
  EXPECT_EQ(RecordsOfType(drawn, EMR_BITBLT) + RecordsOfType(drawn, EMR_STRETCHBLT) +
                RecordsOfType(drawn, EMR_STRETCHDIBITS),
            1);
  ::DeleteEnhMetaFile(drawn);

  // The text is on the window, right-aligned at the right edge it had.
  Pump(50);
  EXPECT_EQ(label->Left() + label->Width(), 233);
  wchar_t text[32] = {};
  ::GetWindowTextW(Hwnd(label), text, 32);
  EXPECT_EQ(std::wstring(text), L"10.01");
  HDC dc = ::GetDC(Hwnd(label));
  int dark = 0;
  for (int y = 0; y < label->Height(); ++y)
    for (int x = 0; x < label->Width(); ++x)
      dark += ::GetPixel(dc, x, y) == RGB(0, 0, 0);
  ::ReleaseDC(Hwnd(label), dc);
  EXPECT_GT(dark, 50);

  // Readings rewrite it back to back while the main thread does nothing else: after every change
  // the form's own surface shows the new text whole at its new place and nothing of the earlier
  // one, growing and shrinking alike, and nothing changes when the windows paint at last.
  const char* readings[] = {"9,99 кВ", "10,00 кВ", "9,99 кВ", "0,01 кВ"};
  for (int i = 0; i < 200; ++i) {
    const RECT old = RectInParent(Hwnd(label));
    label->SetCaption(readings[i % 4]);
    ASSERT_EQ(label->Left() + label->Width(), 233);
    ASSERT_EQ(Describe(RectInParent(Hwnd(label))),
              Describe({label->Left(), label->Top(), 233, label->Top() + label->Height()}));
    ASSERT_EQ(PixelsOtherThanTheLabel(Hwnd(&form), Hwnd(label), old), 0)
        << "after change " << i << " to \"" << readings[i % 4] << "\"";
  }
  const RECT last = RectInParent(Hwnd(label));
  Pump(100);
  EXPECT_EQ(PixelsOtherThanTheLabel(Hwnd(&form), Hwnd(label), last), 0);
}

TForm* dialog = nullptr;
TForm* bystander = nullptr;
HWND dialogOwner = nullptr;
bool othersEnabled = true;

// While the modal run goes on: what holds the dialog in front, and who takes input.
void CALLBACK InspectModalRun(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  dialogOwner = ::GetWindow(Hwnd(dialog), GW_OWNER);
  othersEnabled = ::IsWindowEnabled(Hwnd(mainForm)) || ::IsWindowEnabled(Hwnd(bystander));
  dialog->Close();
}

TEST_F(FormsTest, OnlyADialogIsHeldInFrontOfTheMainWindow) {
  // The platform keeps an owned window in front of its owner: the program's other windows,
  // placed over the main window, would hide it for good.
  TForm other(Application);
  other.SetBounds(40, 40, 600, 400);
  other.Show();
  EXPECT_EQ(::GetWindow(Hwnd(&other), GW_OWNER), nullptr);
  bystander = &other;

  TForm modal(Application);
  modal.SetBounds(100, 100, 200, 100);
  dialog = &modal;
  ::SetTimer(nullptr, 0, 50, &InspectModalRun);
  modal.ShowModal();
  EXPECT_EQ(dialogOwner, Hwnd(mainForm));
  EXPECT_FALSE(othersEnabled);
  EXPECT_TRUE(::IsWindowEnabled(Hwnd(mainForm)));
  EXPECT_TRUE(::IsWindowEnabled(Hwnd(&other)));
}

}  // namespace

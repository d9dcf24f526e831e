// The about window answers the keyboard as a dialog does: Enter, Esc, Space, and Tab then Space
// all press its "OK".
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "about_form.h"
#include "application.h"
#include "key_presses.h"
#include "virtual_desktop.h"

namespace {

std::vector<WORD> keys;

// Once the modal run has begun: the keys, one after another, pressed as the keyboard would.
void CALLBACK PressKeys(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  for (WORD key : keys)
    PressChord({key});
}

// Ends a modal run that the keys left open, so that a failing case cannot hang.
void CALLBACK GiveUp(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  if (AboutForm != nullptr)
    AboutForm->SetModalResult(ui::mrCancel);
}

TEST(AboutWindowTest, KeysPressOk) {
  ASSERT_TRUE(UseDesktopOfOurOwn(L"vrx_about_test"));
  ui::Application->Initialize();
  const std::vector<std::vector<WORD>> cases = {
      {VK_RETURN}, {VK_ESCAPE}, {VK_SPACE}, {VK_TAB, VK_SPACE}};
  for (const auto& pressed : cases) {
    keys = pressed;
    AboutForm = new TAboutForm(ui::Application);
    int clicks = 0;
    AboutForm->Button1->OnClick = [&](ui::TObject* sender) {
      ++clicks;
      AboutForm->Button1Click(sender);
    };
    ::SetTimer(nullptr, 0, 200, &PressKeys);
    const UINT_PTR guard = ::SetTimer(nullptr, 0, 3000, &GiveUp);
    AboutForm->ShowModal();
    ::KillTimer(nullptr, guard);
    EXPECT_EQ(clicks, 1) << "key " << pressed.front() << " and " << pressed.size() - 1
                         << " more did not press OK";
    delete AboutForm;
    AboutForm = nullptr;
  }
}

}  // namespace

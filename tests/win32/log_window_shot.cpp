// The log window realised with real windows after five minutes of readings at the "1 мин/дел"
// scale, with "Курсор" ticked and the mouse over the chart, copied off the screen into
// log_window.bmp.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <string>

#include "application.h"
#include "log_form.h"
#include "settings.h"
#include "temp_dir.h"
#include "text.h"
#include "window_shot.h"

namespace {

constexpr double kSecond = 1.0 / 86400.0;

TEST(LogWindowShot, FiveMinutesOfReadings) {
  const std::string folder = std::filesystem::current_path().string() + "\\";
  TempDir settings;
  IniFileName = settings.File("VRX-470.ini");
  std::ofstream(IniFileName) << "[LogWindow]\nX=40\nY=30\nW=820\nH=560\nVisible=1\n"
                                "MashtabIndexT=1\n";
  ui::Application->Initialize();
  ui::Application->CreateForm(LogForm);
  ASSERT_NE(LogForm, nullptr);
  ASSERT_TRUE(LogForm->Visible());

  // One reading a second: a mains voltage of about 3.5 kV drifting slowly, a small DC part.
  ui::TDateTime now = ui::EncodeDateTime({2024, 10, 27, 14, 0, 0, 0});
  LogForm->Clock = [&now] { return now; };
  auto rec = std::make_unique<TMeasRecord>();
  for (int i = 0; i < 300; ++i, now += kSecond) {
    const float drift = static_cast<float>(0.4 * std::sin(i / 40.0));
    rec->uRms = 3.5f + drift;
    rec->uDc = 0.2f + 0.1f * drift;
    rec->uMax = 4.9f + 1.4f * drift;
    rec->uMin = -4.7f + 1.4f * drift;
    AddLogPoint(rec.get());
    PumpMessages(0);
  }
  PumpMessages(500);

  HWND window = static_cast<HWND>(LogForm->Handle());
  HWND chart = static_cast<HWND>(LogForm->LogChartBox->Handle());
  ASSERT_NE(chart, nullptr);
  // The chart's window has the size the form's layout gives it, so the time labels show.
  RECT box;
  ::GetClientRect(chart, &box);
  EXPECT_EQ(box.right, LogForm->LogChartBox->Width());
  EXPECT_EQ(box.bottom, LogForm->LogChartBox->Height());
  // The vertical scale list is designed with fixed-height items 16 high.
  EXPECT_EQ(::SendMessageW(static_cast<HWND>(LogForm->ComboBox1->Handle()), CB_GETITEMHEIGHT, 0, 0),
            16);

  // The cursor at two thirds of the chart's width, moved there by the window's own message.
  LogForm->CursorCheckBox->SetChecked(true);
  ::SendMessageW(chart, WM_MOUSEMOVE, 0, MAKELPARAM(box.right * 2 / 3, box.bottom / 2));
  PumpMessages(300);
  EXPECT_TRUE(::IsWindowVisible(static_cast<HWND>(LogForm->Panel2->Handle())));
  EXPECT_NE(LogForm->LogCursorIndex, 0);
  EXPECT_NE(LogForm->Label12->Caption(), "00:00:00");
  wchar_t shown[64] = {};
  ::GetWindowTextW(static_cast<HWND>(LogForm->Label6->Handle()), shown, 64);
  EXPECT_EQ(os::WideToUtf8(shown), LogForm->Label6->Caption());

  const WindowPicture picture = CaptureWindow(window);
  const std::string path = folder + "log_window.bmp";
  ASSERT_TRUE(WriteBmp(path, picture));
  EXPECT_EQ(std::filesystem::file_size(path),
            sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + picture.pixels.size() * 4);
  // Every caption whole, the cursor's readout too: none runs into a neighbour.
  EXPECT_EQ(CaptionOutOfRoom(*LogForm), "");
  // The RMS trend in its default green, the maximum in red.
  EXPECT_GT(PixelsOfColorIn(picture, window, chart, 0x00FF40), 100);
  EXPECT_GT(PixelsOfColorIn(picture, window, chart, 0xFF0000), 100);
  // The cursor line, white, from the chart's top edge to its bottom edge.
  EXPECT_GE(PixelsOfColorIn(picture, window, chart, 0xFFFFFF), box.bottom);
}

}  // namespace

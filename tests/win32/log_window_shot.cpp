// The log window realised with real windows after five minutes of readings at the "1 мин/дел"
// scale, copied off the screen into log_window.bmp.
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

  const WindowPicture picture = CaptureWindow(window);
  const std::string path = folder + "log_window.bmp";
  ASSERT_TRUE(WriteBmp(path, picture));
  EXPECT_EQ(std::filesystem::file_size(path),
            sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + picture.pixels.size() * 4);
  // The RMS trend in its default green, the maximum in red.
  EXPECT_GT(PixelsOfColorIn(picture, window, chart, 0x00FF40), 100);
  EXPECT_GT(PixelsOfColorIn(picture, window, chart, 0xFF0000), 100);
}

}  // namespace

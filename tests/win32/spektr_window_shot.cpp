// The spectrum window as a user sees it: made by the application with the Win32 back end, filled
// from a mains-like frame run through the arithmetic, and copied off the screen into bitmap files
// (linear axes, then both logarithmic).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include "application.h"
#include "folders.h"
#include "fpu_precision.h"
#include "meas_arith.h"
#include "settings.h"
#include "spektr_form.h"
#include "synthetic_frames.h"
#include "window_shot.h"

namespace {

// The bars are the series' red: a window that drew no chart has none.
int CountRed(const WindowPicture& picture) {
  int red = 0;
  for (uint32_t pixel : picture.pixels)
    red += (pixel & 0xFFFFFF) == 0xFF0000;
  return red;
}

// Captures the window into the file and checks that the file holds the whole picture.
WindowPicture Shoot(HWND window, const std::string& path) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  PumpMessages(200);
  WindowPicture picture = CaptureWindow(window);
  EXPECT_GT(picture.width, 0);
  EXPECT_TRUE(WriteBmp(path, picture));
  std::ifstream written(path, std::ios::binary | std::ios::ate);
  EXPECT_EQ(static_cast<std::size_t>(written.tellg()),
            sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + picture.pixels.size() * 4);
  return picture;
}

TEST(SpektrWindowShot, ShowsTheSpectrumOfAComputedRecord) {
  const std::string folder = os::CurrentFolder() + os::PathSeparator();
  IniFileName = folder + "spektr_window_shot.ini";
  std::ofstream(IniFileName, std::ios::binary | std::ios::trunc)
      << "[SpektrWindow]\r\nX=20\r\nY=20\r\nW=856\r\nH=563\r\nVisible=1\r\n";

  ui::Application->Initialize();
  ui::Application->CreateForm(SpektrForm);
  ASSERT_NE(SpektrForm, nullptr);
  ASSERT_TRUE(SpektrForm->Visible());
  HWND window = static_cast<HWND>(SpektrForm->Handle());
  ASSERT_NE(window, nullptr);
  ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);

  EnsureExtendedPrecision();
  auto rec = std::make_unique<TMeasRecord>();
  FillPlausibleCalibration(rec.get());
  FillSyntheticFrame(MainsFrame(0, 12, 7), rec.get());
  ProcessMeasRecord(rec.get());
  SpektrForm->ShowSpektr(rec.get());
  EXPECT_GT(CountRed(Shoot(window, folder + "spektr_window.bmp")), 50);

  // Both axes logarithmic, as the pop-up menu sets them.
  SpektrForm->LogMenuVertLog->Click();
  SpektrForm->LogMenuHorLog->Click();
  EXPECT_GT(CountRed(Shoot(window, folder + "spektr_window_log.bmp")), 50);

  delete SpektrForm;
  SpektrForm = nullptr;
}

}  // namespace

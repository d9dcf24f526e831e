// The main window as the user sees it: created by the application with real windows, showing a
// record computed from a synthetic mains frame, captured from the screen into .bmp files.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "application.h"
#include "fpu_precision.h"
#include "main_form.h"
#include "meas_arith.h"
#include "records.h"
#include "synthetic_frames.h"
#include "window_shot.h"

namespace {

// Pure red pixels of the waveform inside the chart's rectangle of the window.
int RedPixels(const WindowPicture& picture, HWND window, HWND chart) {
  RECT w, c;
  ::GetWindowRect(window, &w);
  ::GetWindowRect(chart, &c);
  int count = 0;
  for (int y = c.top - w.top; y < c.bottom - w.top && y < picture.height; ++y)
    for (int x = c.left - w.left; x < c.right - w.left && x < picture.width; ++x)
      count += picture.pixels[static_cast<size_t>(y) * picture.width + x] == 0xFF0000;
  return count;
}

std::unique_ptr<TMeasRecord> MainsRecord(uint8_t range, int log2N) {
  auto rec = std::make_unique<TMeasRecord>();
  std::memset(rec.get(), 0, sizeof(TMeasRecord));
  FillPlausibleCalibration(rec.get());
  FillSyntheticFrame(MainsFrame(range, log2N, 7), rec.get());
  EnsureExtendedPrecision();
  SourceMode = kSourceLive;
  ProcessMeasRecord(rec.get());
  return rec;
}

class MainWindowShot : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ui::Application->Initialize();
    // The window alone: start-up (the settings, the connection thread) is not run.
    MForm = new TMForm(ui::Application);
    MForm->OnCreate = nullptr;
    MForm->SetCaption("Киловольтметр многопредельный цифровой VRX-470");
    MForm->Show();
  }
  static void TearDownTestSuite() {
    delete MForm;
    MForm = nullptr;
  }

  // Shows rec with the automatic vertical scale and writes the window to name.
  void Shoot(const TMeasRecord& rec, const std::string& name) {
    MForm->ComboBoxU->SetItemIndex(0);
    MForm->ComboBoxTime->SetItemIndex(3);
    MForm->ChartSignal.BottomAxis().SetMinMax(0, 100);
    MForm->ChartSignal.BottomAxis().SetIncrement(10);
    MForm->ShowMeasRecord(&rec);
    HWND window = static_cast<HWND>(MForm->Handle());
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages(300);
    const WindowPicture picture = CaptureWindow(window);
    ASSERT_TRUE(WriteBmp(name, picture));
    std::ifstream written(name, std::ios::binary | std::ios::ate);
    EXPECT_EQ(static_cast<long>(written.tellg()),
              54 + static_cast<long>(picture.pixels.size()) * 4);
    // The waveform reached the screen.
    EXPECT_GT(RedPixels(picture, window, static_cast<HWND>(MForm->ChartSignalBox->Handle())), 500);
    // The captions in the faces the window asks for: none cut by the window's edge or a neighbour.
    EXPECT_EQ(CaptionOutOfRoom(*MForm), "");
  }
};

TEST_F(MainWindowShot, LiveReading) {
  ServiceMode = 0;
  auto rec = MainsRecord(0, 12);
  Shoot(*rec, "main_window.bmp");
  EXPECT_FALSE(::IsWindowVisible(static_cast<HWND>(MForm->ServicePanel->Handle())));
}

TEST_F(MainWindowShot, ServiceModeOnTheLowRange) {
  ServiceMode = 1;
  MForm->ServicePanel->SetVisible(true);
  MForm->N9->SetVisible(true);
  auto rec = MainsRecord(1, 14);
  Shoot(*rec, "main_window_service.bmp");
  ServiceMode = 0;
}

}  // namespace

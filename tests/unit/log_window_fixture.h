// The log window on the component model, natively: a fixture with its own settings file, a clock
// the test sets, and readings logged at chosen times.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "folders.h"
#include "log_form.h"
#include "recording_canvas.h"
#include "screen.h"
#include "settings.h"

constexpr double kSecond = 1.0 / 86400.0;

inline ui::TDateTime At(int hour, int minute, int second) {
  return ui::EncodeDateTime({2024, 10, 27, hour, minute, second, 0});
}

inline std::unique_ptr<TMeasRecord> Reading(float rms, float dc, float max, float min) {
  auto rec = std::make_unique<TMeasRecord>();
  rec->uRms = rms;
  rec->uDc = dc;
  rec->uMax = max;
  rec->uMin = min;
  return rec;
}

class LogWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    IniFileName = os::CurrentFolder() + os::PathSeparator() + "log_" + info->name() + ".ini";
    std::remove(IniFileName.c_str());
    ui::SetScreenSizeOverride({1920, 1080});
    ui::SetUserLocale(ui::Locale{});
  }
  void TearDown() override {
    delete LogForm;
    std::remove(IniFileName.c_str());
    ui::SetScreenSizeOverride({0, 0});
  }

  void WriteIni(const std::string& text) {
    std::ofstream out(IniFileName, std::ios::binary);
    out << text;
  }

  TLogForm& Create() {
    LogForm = new TLogForm(nullptr);
    LogForm->Clock = [this] { return now; };
    return *LogForm;
  }

  void Log(ui::TDateTime time, float rms, float dc, float max, float min) {
    now = time;
    AddLogPoint(Reading(rms, dc, max, min).get());
  }

  // A point in each series, the RMS series' a second later than the others: the log's times as
  // the tests set them, so that a result tells which series' times it took.
  void AddPoints(ui::TDateTime time, double rms, double dc, double max, double min) {
    LogForm->SeriesRMS->AddXY(time + kSecond, rms);
    LogForm->SeriesDC->AddXY(time, dc);
    LogForm->SeriesMax->AddXY(time, max);
    LogForm->SeriesMin->AddXY(time, min);
  }

  // What a paint of the chart at 800 × 500 draws; the paint also lays the axes out.
  chart::RecordingCanvas Paint() {
    LogForm->LogChart.SetBounds(chart::Rect{0, 0, 800, 500});
    chart::RecordingCanvas canvas(800, 500);
    LogForm->LogChart.Paint(canvas);
    return canvas;
  }

  // The bottom axis labels of a paint: the texts holding the time separator.
  std::vector<std::string> TimeLabels() {
    const chart::RecordingCanvas canvas = Paint();
    std::vector<std::string> texts;
    for (const chart::CanvasOp& op : canvas.ops())
      if (op.kind == chart::CanvasOp::Kind::kText && op.text.find(':') != std::string::npos)
        texts.push_back(op.text);
    return texts;
  }

  ui::TDateTime now = 0.0;
};

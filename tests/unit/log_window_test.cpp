// The log window driven through its components natively: time axis per scale, readings with
// earlier times, the vertical scales, settings from a real file, clearing and the colours.
#include <string>
#include <vector>

#include "log_window_fixture.h"
#include "main_form.h"
#include "rationed_memory.h"
#include "record_file.h"
#include "settings.h"
#include "window_rect.h"

namespace {

struct TimeScaleCase {
  int index;
  const char* first;  // labels from the minimum, ten increments to the newest reading
  const char* second;
  const char* format;
};

TEST_F(LogWindowTest, TimeAxisEndsAtTheNewestReadingAndSpansTenIncrements) {
  const TimeScaleCase cases[] = {
      {0, "14:05:20", "14:05:21", "hh:nn:ss"}, {1, "13:55", "13:56", "hh:nn"},
      {2, "13:45", "13:47", "hh:nn"},          {3, "13:15", "13:20", "hh:nn"},
      {4, "12:25", "12:35", "hh:nn"},          {5, "10:45", "11:05", "hh:nn"},
  };
  const double minutes[] = {1.0 / 60, 1, 2, 5, 10, 20};
  TLogForm& form = Create();
  for (const TimeScaleCase& c : cases) {
    SCOPED_TRACE(c.index);
    form.ComboBox2->SelectByUser(c.index);
    Log(At(14, 5, 30), 1, 0, 2, -2);
    const chart::Axis& time = form.LogChart.BottomAxis();
    EXPECT_DOUBLE_EQ(time.Maximum(), At(14, 5, 30));
    EXPECT_NEAR(time.Minimum(), At(14, 5, 30) - 10 * minutes[c.index] * 60 * kSecond, 1e-9);
    EXPECT_EQ(time.DateTimeFormat(), c.format);
    std::vector<std::string> labels = TimeLabels();
    ASSERT_EQ(labels.size(), 11u);
    EXPECT_EQ(labels[0], c.first);
    EXPECT_EQ(labels[1], c.second);
  }
}

TEST_F(LogWindowTest, ChangingTheTimeScaleMovesNothingUntilTheNextReading) {
  TLogForm& form = Create();
  Log(At(14, 5, 30), 1, 0, 2, -2);
  form.ComboBox2->SelectByUser(5);
  EXPECT_NEAR(form.LogChart.BottomAxis().Minimum(), At(14, 5, 20), 1e-9);
  EXPECT_EQ(form.LogChart.BottomAxis().DateTimeFormat(), "hh:nn:ss");
  Log(At(14, 5, 31), 1, 0, 2, -2);
  EXPECT_NEAR(form.LogChart.BottomAxis().Minimum(), At(10, 45, 31), 1e-9);
  EXPECT_EQ(form.LogChart.BottomAxis().DateTimeFormat(), "hh:nn");
}

// After the readings, every series holds the same times in ascending order, the values of each
// reading at one index.
void ExpectReadingsInOrder(const TLogForm& form, const std::vector<ui::TDateTime>& times,
                           const std::vector<float>& rms) {
  for (const chart::Series* s : {form.SeriesRMS, form.SeriesDC, form.SeriesMax, form.SeriesMin}) {
    ASSERT_EQ(s->Count(), times.size());
    for (std::size_t i = 0; i < times.size(); ++i)
      EXPECT_DOUBLE_EQ(s->XValue(i), times[i]);
  }
  for (std::size_t i = 0; i < rms.size(); ++i) {
    EXPECT_FLOAT_EQ(form.SeriesRMS->YValue(i), rms[i]);
    EXPECT_FLOAT_EQ(form.SeriesDC->YValue(i), rms[i] + 10);
    EXPECT_FLOAT_EQ(form.SeriesMax->YValue(i), rms[i] + 20);
    EXPECT_FLOAT_EQ(form.SeriesMin->YValue(i), rms[i] - 20);
  }
}

struct SetBackCase {
  const char* name;
  int scale;
  ui::TDateTime late;   // the clock is set back after this reading
  ui::TDateTime early;  // to this one
};

TEST_F(LogWindowTest, AClockSetBackInsertsTheReadingByItsTimeAndTheLogGoesOn) {
  const SetBackCase cases[] = {
      {"within the span", 1, At(14, 5, 30), At(14, 0, 0)},
      {"beyond the span", 0, At(14, 5, 30), At(13, 5, 30)},
      {"summer to winter time", 3, At(3, 0, 0), At(2, 0, 1)},
  };
  for (const SetBackCase& c : cases) {
    SCOPED_TRACE(c.name);
    TLogForm& form = Create();
    form.ComboBox2->SelectByUser(c.scale);
    const double span = 10 * form.LogChart.BottomAxis().Increment();
    Log(c.early - kSecond, 1, 11, 21, -19);
    Log(c.late, 2, 12, 22, -18);
    Log(c.early, 3, 13, 23, -17);
    EXPECT_DOUBLE_EQ(form.LogChart.BottomAxis().Maximum(), c.early);
    EXPECT_NEAR(form.LogChart.BottomAxis().Minimum(), c.early - span, 1e-9);
    Log(c.early + kSecond, 4, 14, 24, -16);
    EXPECT_DOUBLE_EQ(form.LogChart.BottomAxis().Maximum(), c.early + kSecond);
    ExpectReadingsInOrder(form, {c.early - kSecond, c.early, c.early + kSecond, c.late},
                          {1, 3, 4, 2});
    delete LogForm;
  }
}

TEST_F(LogWindowTest, FourPointsOfAReadingShareOneTimeAcrossAClockSetBack) {
  TLogForm& form = Create();
  // A clock that moves on a millisecond at every look, set back between readings.
  form.Clock = [this] { return now += 0.001 * kSecond; };
  const ui::TDateTime starts[] = {At(14, 0, 0), At(14, 0, 0) + 0.084 * kSecond,
                                  At(14, 0, 0) + 0.0825 * kSecond};
  float value = 1;
  for (ui::TDateTime start : starts) {
    now = start;
    AddLogPoint(Reading(value, value + 10, value + 20, value - 20).get());
    ++value;
  }
  ExpectReadingsInOrder(
      form, {form.SeriesRMS->XValue(0), form.SeriesRMS->XValue(1), form.SeriesRMS->XValue(2)},
      {1, 3, 2});
}

struct VerticalCase {
  const char* name;
  int index;
  std::vector<float> maxima;
  double maximum;
  double increment;
};

TEST_F(LogWindowTest, VerticalScaleIsFixedOrSetByTheMaximumSeriesAlone) {
  const VerticalCase cases[] = {
      {"empty log", 0, {}, 0.5, 0.1},
      {"maxima 3.2 to 4.9, minima far below", 0, {3.2f, 4.9f, 4.0f}, 5, 1},
      {"just above five", 0, {5.01f}, 10, 2},
      {"negative maxima", 0, {-7.0f, 3.0f}, 10, 2},
      {"beyond 500", 0, {10000.0f}, 1000, 200},
      {"0,1 кВ/дел", 1, {4.9f}, 0.5, 0.1},
      {"2 кВ/дел", 5, {3.2f, 40.0f}, 10, 2},
      {"50 кВ/дел", 9, {4.9f}, 250, 50},
  };
  for (const VerticalCase& c : cases) {
    SCOPED_TRACE(c.name);
    TLogForm& form = Create();
    form.ComboBox1->SelectByUser(c.index);
    int second = 0;
    for (float maximum : c.maxima)
      Log(At(14, 0, second++), 1, 0, maximum, -7.5f);
    const chart::Axis& volts = form.LogChart.LeftAxis();
    EXPECT_DOUBLE_EQ(volts.Minimum(), -c.maximum);
    EXPECT_DOUBLE_EQ(volts.Maximum(), c.maximum);
    EXPECT_NEAR(volts.Increment(), c.increment, 1e-12);
    delete LogForm;
  }
}

TEST_F(LogWindowTest, HiddenMaximumSeriesKeepsItsPointsAndTheScale) {
  TLogForm& form = Create();
  Log(At(14, 0, 0), 1, 0, 3.2f, -1);
  form.CheckBox3->Toggle();
  EXPECT_FALSE(form.SeriesMax->Active());
  Log(At(14, 0, 1), 1, 0, 24.0f, -1);
  EXPECT_EQ(form.SeriesMax->Count(), 2u);
  EXPECT_DOUBLE_EQ(form.LogChart.LeftAxis().Maximum(), 25);
  // A fixed scale stays; "авто" rescales at once.
  form.ComboBox1->SelectByUser(5);
  Log(At(14, 0, 2), 1, 0, 60.0f, -1);
  EXPECT_DOUBLE_EQ(form.LogChart.LeftAxis().Maximum(), 10);
  form.ComboBox1->SelectByUser(0);
  EXPECT_DOUBLE_EQ(form.LogChart.LeftAxis().Maximum(), 100);
  form.CheckBox3->Toggle();
  EXPECT_TRUE(form.SeriesMax->Active());
}

TEST_F(LogWindowTest, ClearEmptiesEverySeriesAndKeepsTheAxes) {
  TLogForm& form = Create();
  Log(At(14, 0, 0), 1, 0, 40, -1);
  Log(At(14, 0, 1), 1, 0, 45, -1);
  form.Button2->Click();
  for (const chart::Series* s : {form.SeriesRMS, form.SeriesDC, form.SeriesMax, form.SeriesMin})
    EXPECT_EQ(s->Count(), 0u);
  EXPECT_DOUBLE_EQ(form.LogChart.LeftAxis().Maximum(), 50);
  EXPECT_DOUBLE_EQ(form.LogChart.BottomAxis().Maximum(), At(14, 0, 1));
  // The next automatic scale comes from that reading alone.
  Log(At(14, 0, 2), 1, 0, 2, -1);
  EXPECT_DOUBLE_EQ(form.LogChart.LeftAxis().Maximum(), 2.5);
  EXPECT_EQ(form.SeriesMax->Count(), 1u);
}

struct FullLogCase {
  const char* what;
  int allowed;       // allocations of point storage before memory runs out
  std::size_t kept;  // readings the log holds then
};

TEST_F(LogWindowTest, AFullLogKeepsItsReadingsSaysSoOnceAndResumesAfterClearing) {
  const std::size_t block = chart::PointBlocks::kBlockPoints;
  // The first reading takes a list of blocks and a block in each series, in the order RMS, DC,
  // minimum, maximum; the reading after a full block takes a block in each, in the same order.
  const FullLogCase cases[] = {
      {"no memory for the first reading", 7, 0}, {"Urms finds no block", 8, block},
      {"Udc finds no block", 9, block},          {"Umin finds no block", 10, block},
      {"Umax finds no block", 11, block},
  };
  std::vector<std::string> boxes;
  ui::MessageBoxHook previous = ui::SetMessageBoxHook(
      [&boxes](ui::TForm*, const std::string& text, const std::string& caption, unsigned) {
        boxes.push_back(caption + " " + text);
        return ui::ID_OK_ANSWER;
      });
  for (const FullLogCase& c : cases) {
    SCOPED_TRACE(c.what);
    boxes.clear();
    TLogForm& form = Create();
    RationedMemory memory(c.allowed);
    const ui::TDateTime start = At(14, 0, 0);
    // One reading more than fits, then one after memory is back: the log waits for " Очистить".
    for (std::size_t i = 0; i <= c.kept; ++i)
      Log(start + 0.1 * kSecond * static_cast<double>(i), 1, 0, 2, -2);
    EXPECT_TRUE(form.LogFull());
    memory.Allow(100);
    Log(start + 1, 1, 0, 2, -2);
    for (const chart::Series* s : {form.SeriesRMS, form.SeriesDC, form.SeriesMax, form.SeriesMin}) {
      ASSERT_EQ(s->Count(), c.kept);
      EXPECT_EQ(s->XValue(c.kept - 1), form.SeriesRMS->XValue(c.kept - 1));
    }

    // Not inside the reading's hand-over, and once however often the timer runs.
    EXPECT_TRUE(boxes.empty());
    form.LogFullTimer->Tick();
    form.LogFullTimer->Tick();
    EXPECT_EQ(boxes, std::vector<std::string>{std::string(kErrorTitle) + " " + kLogFullText});

    const chart::RecordingCanvas canvas = Paint();
    const auto lines = std::count_if(canvas.ops().begin(), canvas.ops().end(), [](const auto& op) {
      return op.kind == chart::CanvasOp::Kind::kPolyline;
    });
    EXPECT_EQ(lines, c.kept > 0 ? 4 : 0);

    form.Button2->Click();
    EXPECT_FALSE(form.LogFull());
    Log(start + 2, 1, 0, 2, -2);
    for (const chart::Series* s : {form.SeriesRMS, form.SeriesDC, form.SeriesMax, form.SeriesMin})
      EXPECT_EQ(s->Count(), 1u);
    form.LogFullTimer->Tick();
    EXPECT_EQ(boxes.size(), 1u);
    delete LogForm;
  }
  ui::SetMessageBoxHook(previous);
}

TEST_F(LogWindowTest, WithoutSettingsItOpensHiddenWithTheDefaults) {
  TLogForm& form = Create();
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(form.Caption(), "Журнал");
  const ui::TRect r = form.BoundsRect();
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(form.Width(), 700);
  EXPECT_EQ(form.Height(), 400);
  const ui::TCheckBox* boxes[] = {form.CheckBox1, form.CheckBox2, form.CheckBox3, form.CheckBox4};
  const chart::Series* series[] = {form.SeriesRMS, form.SeriesDC, form.SeriesMax, form.SeriesMin};
  const ui::TColor colors[] = {0x40FF00, 0x000000, 0x0000FF, 0xC08000};
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(boxes[i]->Checked());
    EXPECT_TRUE(series[i]->Active());
    EXPECT_EQ(series[i]->SeriesColor(), colors[i]);
    EXPECT_EQ(boxes[i]->Font().color, colors[i]);
  }
  EXPECT_EQ(form.ComboBox1->Text(), "авто");
  EXPECT_EQ(form.ComboBox2->Text(), "10 сек/дел");
  EXPECT_DOUBLE_EQ(form.LogChart.LeftAxis().Minimum(), -0.5);
  EXPECT_DOUBLE_EQ(form.LogChart.LeftAxis().Maximum(), 0.5);
  EXPECT_NEAR(form.LogChart.LeftAxis().Increment(), 0.1, 1e-12);
  EXPECT_EQ(form.LogChart.BottomAxis().DateTimeFormat(), "hh:nn");
  EXPECT_EQ(&form.LogChart.SeriesAt(0), form.SeriesRMS);
}

TEST_F(LogWindowTest, ReadsItsSectionAndWritesItBack) {
  WriteIni(
      "[LogWindow]\r\nX=-100\r\nY=50\r\nW=800\r\nH=500\r\nVisible=1\r\nRmsColor=255\r\n"
      "DcVisible=0\r\nMaxColor=x\r\nMinVisible=abc\r\nMashtabIndexU=12\r\nMashtabIndexT=5\r\n");
  MForm = new TMForm(nullptr);
  TLogForm& form = Create();
  EXPECT_TRUE(form.Visible());
  EXPECT_TRUE(MForm->N8->Checked());
  EXPECT_EQ(form.Left(), 100);
  EXPECT_EQ(form.Top(), 50);
  EXPECT_EQ(form.Width(), 800);
  EXPECT_EQ(form.Height(), 500);
  EXPECT_EQ(form.SeriesRMS->SeriesColor(), 0x0000FFu);
  EXPECT_EQ(form.CheckBox1->Font().color, 0x0000FFu);
  EXPECT_FALSE(form.SeriesDC->Active());
  EXPECT_FALSE(form.CheckBox2->Checked());
  EXPECT_EQ(form.SeriesMax->SeriesColor(), 0u);
  EXPECT_FALSE(form.SeriesMin->Active());
  // No selection: the designed range stays, and readings do not scale it.
  EXPECT_EQ(form.ComboBox1->ItemIndex(), -1);
  Log(At(14, 0, 0), 1, 0, 4, -1);
  EXPECT_DOUBLE_EQ(form.LogChart.LeftAxis().Minimum(), 267);
  EXPECT_DOUBLE_EQ(form.LogChart.LeftAxis().Maximum(), 1096);
  EXPECT_NEAR(form.LogChart.BottomAxis().Increment(), 20.0 / 1440, 1e-15);

  // Closing hides the window and clears the check mark; the log stays.
  form.Close();
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(MForm->N8->Checked());
  EXPECT_EQ(form.SeriesRMS->Count(), 1u);

  form.WriteSettings();
  const char* keys[] = {"X",
                        "Y",
                        "W",
                        "H",
                        "Visible",
                        "RmsColor",
                        "RmsVisible",
                        "DcColor",
                        "DcVisible",
                        "MaxColor",
                        "MaxVisible",
                        "MinColor",
                        "MinVisible",
                        "MashtabIndexU",
                        "MashtabIndexT"};
  const int32_t written[] = {100, 50, 800, 500, 0, 255, 1, 0, 0, 0, 1, 12615680, 0, -1, 5};
  for (int i = 0; i < 15; ++i) {
    SCOPED_TRACE(keys[i]);
    EXPECT_EQ(ReadSetting("LogWindow", keys[i], "missing"), written[i]);
  }
  delete LogForm;
  delete MForm;
  MForm = nullptr;
}

struct PlacementCase {
  const char* name;
  int32_t x, y, w, h;
  ui::TRect expected;
};

TEST_F(LogWindowTest, PlacementTakesEachEdgeModuloTheScreenAndKeepsTheWindowWhole) {
  const PlacementCase cases[] = {
      {"defaults", 0, 0, 700, 400, {0, 0, 700, 400}},
      {"negative left", -100, -20, 700, 400, {100, 20, 800, 420}},
      {"past the right and bottom edges: moved on, whole",
       1500,
       900,
       700,
       400,
       {1220, 680, 1920, 1080}},
      {"saved on a larger screen", 2000, 1100, -700, 400, {80, 20, 780, 420}},
      {"most negative value", INT32_MIN, 0, INT32_MIN, 0, {0, 0, 1920, 0}},
      {"past the bottom edge alone", 100, 900, 700, 400, {100, 680, 800, 1080}},
      {"touching both edges: where it was", 1220, 680, 700, 400, {1220, 680, 1920, 1080}},
      {"the screen's size", 0, 0, 1920, 1080, {0, 0, 1920, 1080}},
      {"larger than the screen", 300, 200, 2500, 1200, {0, 0, 1920, 1080}},
      {"no width: its minimum, on the screen", 1700, 0, 0, 400, {1520, 0, 1920, 400}},
  };
  for (const PlacementCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ui::TRect r = ResidentWindowRect(c.x, c.y, c.w, c.h, {1920, 1080}, {400, 200});
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
  }
  // A screen that reports no size divides by nothing, and nothing is fitted to it.
  const ui::TRect unreduced = ResidentWindowRect(-5, 6, 700, 400, {0, 0}, {400, 200});
  EXPECT_EQ(unreduced.left, 5);
  EXPECT_EQ(unreduced.right, 705);
  EXPECT_EQ(unreduced.bottom, 406);
}

TEST_F(LogWindowTest, ColourComesFromTheDialogOnTheCheckBoxsContextMenu) {
  TLogForm& form = Create();
  std::vector<ui::TColor> opened;
  bool answer = true;
  ui::ColorDialogHook previous = ui::SetColorDialogHook([&](ui::TColorDialog& dialog) {
    opened.push_back(dialog.color);
    dialog.color = 0x123456;
    return answer;
  });
  bool handled = false;
  form.CheckBox2->ContextPopup({3, 3}, {100, 100});
  EXPECT_EQ(form.SeriesDC->SeriesColor(), 0x123456u);
  EXPECT_EQ(form.CheckBox2->Font().color, 0x123456u);
  EXPECT_TRUE(form.CheckBox2->Font().bold);
  answer = false;
  form.CheckBox4ContextPopup(form.CheckBox4, {0, 0}, handled);
  EXPECT_FALSE(handled);
  EXPECT_EQ(form.SeriesMin->SeriesColor(), 0xC08000u);
  EXPECT_EQ(form.CheckBox4->Font().color, 0xC08000u);
  // Black before the first choice, then the colour last chosen, never the series' own.
  EXPECT_EQ(opened, (std::vector<ui::TColor>{0x000000, 0x123456}));
  ui::SetColorDialogHook(previous);
}

TEST_F(LogWindowTest, ReadingsWithoutAWindowOrARecordAreIgnored) {
  AddLogPoint(Reading(1, 2, 3, 4).get());
  LogAutoScale();
  TLogForm& form = Create();
  AddLogPoint(nullptr);
  EXPECT_EQ(form.SeriesRMS->Count(), 0u);
}

}  // namespace

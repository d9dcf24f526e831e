#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "format.h"
#include "main_form.h"
#include "screen.h"
#include "settings.h"
#include "spektr_form.h"
#include "temp_dir.h"

namespace {

class SpektrWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    IniFileName = dir_.File("VRX-470.ini");
    ui::SetUserLocale(ui::Locale{});
    ui::SetScreenSizeOverride({1280, 1024});
    main_ = std::make_unique<TMForm>(nullptr);
    MForm = main_.get();
  }
  void TearDown() override {
    MForm = nullptr;
    ui::SetScreenSizeOverride({0, 0});
  }

  void WriteIni(const std::string& spektrKeys) {
    std::ofstream(IniFileName, std::ios::binary) << "[MainWindow]\r\nX=5\r\n[SpektrWindow]\r\n"
                                                 << spektrKeys;
  }

  TempDir dir_;
  std::unique_ptr<TMForm> main_;
};

TEST_F(SpektrWindowTest, PlacementVisibilityAndAxisModesComeFromTheSettingsFile) {
  struct Case {
    const char* keys;
    ui::TSize screen;
    ui::TRect bounds;
    bool visible, horLog, vertLog;
  };
  const Case cases[] = {
      {nullptr, {1280, 1024}, {0, 0, 700, 400}, false, false, false},
      {"X=-100\r\nY=50\r\nW=600\r\nH=300\r\nVisible=1\r\n",
       {1280, 1024},
       {100, 50, 700, 350},
       true,
       false,
       false},
      {"Visible=7\r\nHorLog=1\r\n", {1280, 1024}, {0, 0, 700, 400}, true, true, false},
      {"Visible=0\r\nVertLog=-1\r\nHorLog=abc\r\n",
       {1280, 1024},
       {0, 0, 700, 400},
       false,
       false,
       true},
      // An empty width reads as 0, not the default; the window keeps its minimum width.
      {"W=\r\nH=250x\r\nVisible=\r\nHorLog= 2\r\nVertLog=1\r\n",
       {1280, 1024},
       {0, 0, 400, 250},
       false,
       true,
       true},
      // Right edge 2200 mod 1920 = 280 would fold it: moved left, whole.
      {"X=1500\r\nY=1100\r\nW=700\r\nH=400\r\n",
       {1920, 1080},
       {1220, 20, 1920, 420},
       false,
       false,
       false},
      {"X=900\r\nW=600\r\n", {1280, 1024}, {680, 0, 1280, 400}, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys ? c.keys : "no settings file");
    if (c.keys)
      WriteIni(c.keys);
    else
      std::remove(IniFileName.c_str());
    ui::SetScreenSizeOverride(c.screen);
    MForm->N7->SetChecked(!c.visible);
    TSpektrForm form(nullptr);
    const ui::TRect r = form.BoundsRect();
    EXPECT_EQ(r.left, c.bounds.left);
    EXPECT_EQ(r.top, c.bounds.top);
    EXPECT_EQ(r.right, c.bounds.right);
    EXPECT_EQ(r.bottom, c.bounds.bottom);
    EXPECT_EQ(form.Visible(), c.visible);
    EXPECT_EQ(MForm->N7->Checked(), c.visible);
    EXPECT_EQ(form.SpektrChart.BottomAxis().Logarithmic(), c.horLog);
    EXPECT_EQ(form.SpektrChart.LeftAxis().Logarithmic(), c.vertLog);
    EXPECT_EQ(form.LogMenuHorLog->Checked(), c.horLog);
    EXPECT_EQ(form.LogMenuHorLin->Checked(), !c.horLog);
    EXPECT_EQ(form.LogMenuVertLog->Checked(), c.vertLog);
    EXPECT_EQ(form.LogMenuVertLin->Checked(), !c.vertLog);
  }
}

TEST_F(SpektrWindowTest, SavedSettingsBringTheWindowBackAsItWas) {
  {
    TSpektrForm form(nullptr);
    form.SetBounds(30, 40, 650, 380);
    form.Show();
    form.LogMenuHorLog->Click();
    form.SaveSettings();
  }
  EXPECT_EQ(ReadSetting("SpektrWindow", "X", ""), 30);
  EXPECT_EQ(ReadSetting("SpektrWindow", "Y", ""), 40);
  EXPECT_EQ(ReadSetting("SpektrWindow", "W", ""), 650);
  EXPECT_EQ(ReadSetting("SpektrWindow", "H", ""), 380);
  EXPECT_EQ(ReadSetting("SpektrWindow", "Visible", ""), 1);
  EXPECT_EQ(ReadSetting("SpektrWindow", "HorLog", ""), 1);
  EXPECT_EQ(ReadSetting("SpektrWindow", "VertLog", "9"), 0);
  // The main window's section is left alone.
  EXPECT_EQ(ReadSetting("MainWindow", "X", "0"), 0);

  TSpektrForm again(nullptr);
  EXPECT_TRUE(again.Visible());
  EXPECT_EQ(again.Left(), 30);
  EXPECT_EQ(again.Width(), 650);
  EXPECT_TRUE(again.SpektrChart.BottomAxis().Logarithmic());
  EXPECT_FALSE(again.SpektrChart.LeftAxis().Logarithmic());
}

TEST_F(SpektrWindowTest, PopupItemsSwitchTheirAxisAndCheckThemselves) {
  TSpektrForm form(nullptr);
  struct Step {
    ui::TMenuItem* TSpektrForm::*item;
    bool horLog, vertLog;
  };
  const Step steps[] = {
      {&TSpektrForm::LogMenuVertLog, false, true}, {&TSpektrForm::LogMenuVertLog, false, true},
      {&TSpektrForm::LogMenuHorLog, true, true},   {&TSpektrForm::LogMenuVertLin, true, false},
      {&TSpektrForm::LogMenuHorLin, false, false},
  };
  for (const Step& s : steps) {
    (form.*s.item)->Click();
    EXPECT_EQ(form.SpektrChart.BottomAxis().Logarithmic(), s.horLog);
    EXPECT_EQ(form.SpektrChart.LeftAxis().Logarithmic(), s.vertLog);
    EXPECT_EQ(form.LogMenuHorLog->Checked(), s.horLog);
    EXPECT_EQ(form.LogMenuHorLin->Checked(), !s.horLog);
    EXPECT_EQ(form.LogMenuVertLog->Checked(), s.vertLog);
    EXPECT_EQ(form.LogMenuVertLin->Checked(), !s.vertLog);
  }
}

TEST_F(SpektrWindowTest, ColumnsShareTheGridWidth) {
  TSpektrForm form(nullptr);
  // The frame takes 8 pixels of the window's width natively.
  const struct {
    int windowWidth, gridWidth, colWidth;
  } cases[] = {{856, 848, 104}, {418, 410, 50}, {700, 692, 85}, {500, 492, 60}};
  for (const auto& c : cases) {
    form.SetBounds(0, 0, c.windowWidth, 563);
    EXPECT_EQ(form.SpektrStringGrid->Width(), c.gridWidth);
    EXPECT_EQ(form.SpektrStringGrid->DefaultColWidth(), c.colWidth);
  }
}

std::unique_ptr<TMeasRecord> RecordWith(int32_t log2N, float binWidth, float spectrumBase) {
  auto rec = std::make_unique<TMeasRecord>();
  rec->log2N = log2N;
  rec->binWidthHz = binWidth;
  for (int i = 0; i < kMaxBins; ++i)
    rec->spectrum[i] = spectrumBase + static_cast<float>(i % 97);
  for (int k = 1; k <= 40; ++k)
    rec->shownHarmonics.value[HarmonicBlock::kPercentBase + k] = 100.0f / static_cast<float>(k);
  return rec;
}

TEST_F(SpektrWindowTest, BarsStandAtMultiplesOfTheBinWidth) {
  TSpektrForm form(nullptr);
  const struct {
    int32_t log2N;
    float binWidth;
    std::size_t bars;
  } cases[] = {{12, 12.20703125f, 2048}, {14, 3.0517578125f, 8192}, {1, 100.0f, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.log2N);
    auto rec = RecordWith(c.log2N, c.binWidth, 1.5f);
    form.ShowSpektr(rec.get());
    ASSERT_EQ(form.Series1->Count(), c.bars);
    EXPECT_EQ(form.Series1->XValue(0), 0.0);
    for (std::size_t i : {c.bars / 2, c.bars - 1}) {
      EXPECT_EQ(form.Series1->XValue(i), static_cast<double>(i) * c.binWidth);
      EXPECT_EQ(form.Series1->YValue(i), rec->spectrum[i]);
    }
  }
}

TEST_F(SpektrWindowTest, DamagedLog2NNeverReadsBeyondTheSpectrum) {
  TSpektrForm form(nullptr);
  // The record on the heap, so a read past its end is caught by the address sanitizer.
  const struct {
    int32_t log2N;
    std::size_t bars;
  } cases[] = {{15, 8192}, {20, 8192}, {31, 8192}, {INT_MAX, 8192}, {0, 0}, {-3, 0}, {INT_MIN, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.log2N);
    auto rec = RecordWith(c.log2N, 10.0f, 0.0f);
    form.ShowSpektr(rec.get());
    EXPECT_EQ(form.Series1->Count(), c.bars);
    EXPECT_EQ(form.SpektrStringGrid->Cell(1, 1), "100.00 %");
  }
}

TEST_F(SpektrWindowTest, HarmonicPercentagesFillTheirCells) {
  TSpektrForm form(nullptr);
  auto rec = RecordWith(12, 12.0f, 0.0f);
  const struct {
    int k;
    float percent;
    int col, row;
    const char* text;
  } cases[] = {
      {1, 100.0f, 1, 1, "100.00 %"},  {10, 3.274f, 1, 10, "3.27 %"}, {11, 0.125f, 3, 1, "0.13 %"},
      {40, -0.001f, 7, 10, "0.00 %"}, {25, 12.5f, 5, 5, "12.50 %"},
  };
  for (const auto& c : cases)
    rec->shownHarmonics.value[HarmonicBlock::kPercentBase + c.k] = c.percent;
  const ui::TStringGrid& grid = *form.SpektrStringGrid;
  EXPECT_EQ(grid.ColCount(), 8);
  EXPECT_EQ(grid.RowCount(), 11);
  for (int p = 0; p < 4; ++p) {
    EXPECT_EQ(grid.Cell(2 * p, 0), "Номер гарм.");
    EXPECT_EQ(grid.Cell(2 * p + 1, 0), "Коэфф. гарм.");
  }
  // Value cells stay empty until the first record.
  EXPECT_EQ(grid.Cell(1, 1), "");
  form.ShowSpektr(rec.get());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.k);
    EXPECT_EQ(form.SpektrStringGrid->Cell(c.col, c.row), c.text);
    EXPECT_EQ(form.SpektrStringGrid->Cell(c.col - 1, c.row), ui::IntToStr(c.k));
  }

  ui::Locale comma;
  comma.decimalSeparator = ",";
  ui::SetUserLocale(comma);
  form.ShowSpektr(rec.get());
  EXPECT_EQ(form.SpektrStringGrid->Cell(1, 10), "3,27 %");
}

TEST_F(SpektrWindowTest, ClosingHidesAndTheWindowKeepsBeingFilled) {
  WriteIni("Visible=1\r\n");
  TSpektrForm form(nullptr);
  ASSERT_TRUE(MForm->N7->Checked());
  form.ShowSpektr(RecordWith(12, 12.0f, 0.0f).get());
  form.Close();
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(MForm->N7->Checked());
  EXPECT_EQ(form.Series1->Count(), 2048u);
  EXPECT_EQ(form.SpektrStringGrid->Cell(1, 2), "50.00 %");

  auto next = RecordWith(14, 3.0f, 7.0f);
  next->shownHarmonics.value[HarmonicBlock::kPercentBase + 2] = 1.0f;
  form.ShowSpektr(next.get());
  EXPECT_EQ(form.Series1->Count(), 8192u);
  EXPECT_EQ(form.Series1->YValue(0), 7.0);
  EXPECT_EQ(form.SpektrStringGrid->Cell(1, 2), "1.00 %");
}

}  // namespace

// The main window as designed, its vertical scale rule and what it shows of a record.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "format.h"
#include "main_form.h"
#include "records.h"
#include "settings.h"
#include "spektr_form.h"
#include "temp_dir.h"

namespace {

using ui::TLabel;

float Above(float value) {
  return std::nextafter(value, 1e9f);
}

TEST(MainWindowTest, ScaleStepIsTheSmallestStepNotBelowTheLargerMagnitude) {
  struct Row {
    float a, b, step;
  };
  const Row rows[] = {
      {0, 0, 0.5f},        {0.5f, 0, 0.5f},       {Above(0.5f), 0, 1},  {1, 0, 1},
      {Above(1), 0, 2.5f}, {2.5f, -2.5f, 2.5f},   {Above(2.5f), 0, 5},  {5, 0, 5},
      {Above(5), 0, 10},   {5.01f, 0, 10},        {10, 0, 10},          {Above(10), 0, 25},
      {25, 0, 25},         {Above(25), 0, 50},    {50, 0, 50},          {Above(50), 0, 100},
      {100, 0, 100},       {Above(100), 0, 250},  {250, 0, 250},        {Above(250), 0, 500},
      {500, 0, 500},       {Above(500), 0, 1000}, {501, 0, 1000},       {10000, 0, 1000},
      {0.3f, -0.6f, 1},    {-7, 3, 10},           {0, -Above(50), 100}, {-0.0f, 0, 0.5f},
      {NAN, 3, 5},         {3, NAN, 5},           {INFINITY, 0, 1000},
  };
  for (const Row& r : rows)
    EXPECT_EQ(GetScaleStep(r.a, r.b), r.step) << r.a << ", " << r.b;
}

class MainWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::Locale locale;
    locale.decimalSeparator = ".";
    ui::SetUserLocale(locale);
    ServiceMode = 0;
    form = std::make_unique<TMForm>(nullptr);
    rec = std::make_unique<TMeasRecord>();
    rec->log2N = 12;
  }
  void TearDown() override { ServiceMode = 0; }

  std::unique_ptr<TMForm> form;
  std::unique_ptr<TMeasRecord> rec;
};

TEST_F(MainWindowFixture, DesignedTextsAndSelections) {
  struct Text {
    const ui::TControl* control;
    const char* caption;
  };
  const Text texts[] = {
      {form->LabelUrms, "0.00"},
      {form->LabelUdc, "0.00"},
      {form->LabelUmax, "0.00 кВ"},
      {form->LabelUmin, "0.00 кВ"},
      {form->LabelKIS, "0.00 %"},
      {form->LabelFreq, "0.00 Гц"},
      {form->Label5, "КИС"},
      {form->Label14, "кВ"},
      {form->SerLabel4, "SerLabel4"},
      {form->SerLabel5, "SerLabel5"},
      {form->SerLabel6, "SerLabel6"},
      {form->SerLabel7, "SerLabel7"},
      {form->Label9, "Label9"},
      {form->KalibrDC1, "DC1"},
      {form->KalibrY31, "Y3"},
      {form->KalibrA40, "A4"},
      {form->Button1, "Пуск/Пауза"},
      {form->ModeRadioGroup, "Источник сигнала"},
      {form->RadioGroup1, "Режим работы"},
      {form->CheckBox1, "Показывать точки"},
      {form->LabelPause, "Пауза"},
      {form->GroupBox2, "Калибр. константы 1"},
  };
  for (const Text& t : texts)
    EXPECT_EQ(t.control->Caption(), t.caption);

  EXPECT_EQ(form->ModeRadioGroup->Items(),
            (std::vector<std::string>{"Сигнал", "Память прибора", "Файл"}));
  EXPECT_EQ(form->ModeRadioGroup->ItemIndex(), 0);
  EXPECT_EQ(form->RadioGroup1->Items(), (std::vector<std::string>{"авто", "однократный"}));
  EXPECT_EQ(form->RadioGroup1->ItemIndex(), 0);
  ASSERT_EQ(form->MemNumComboBox->Items().size(), 15u);
  EXPECT_EQ(form->MemNumComboBox->Items().back(), "15");
  EXPECT_EQ(form->MemNumComboBox->Text(), "1");
  ASSERT_EQ(form->ComboBoxU->Items().size(), 10u);
  EXPECT_EQ(form->ComboBoxU->Items()[0], "авто");
  EXPECT_EQ(form->ComboBoxU->Items()[1], "0,1 кВ/дел");
  EXPECT_EQ(form->ComboBoxU->ItemIndex(), -1);
  ASSERT_EQ(form->ComboBoxTime->Items().size(), 8u);
  EXPECT_EQ(form->ComboBoxTime->Items()[7], "200 мс/дел");
  EXPECT_EQ(form->ComboBoxTime->ItemIndex(), -1);
  EXPECT_FALSE(form->CheckBox1->Checked());
  EXPECT_EQ(form->UsbTimer->Interval(), 500u);
  EXPECT_TRUE(form->UsbTimer->Enabled());
  ASSERT_EQ(form->StatusBar->Panels().size(), 1u);
  EXPECT_EQ(form->StatusBar->PanelText(0), "");
  // A test driver finds the windows by their designed names.
  EXPECT_EQ(form->Name(), "MForm");
  EXPECT_EQ(form->LabelUrms->Name(), "LabelUrms");
  EXPECT_EQ(form->ComboBoxU->Name(), "ComboBoxU");
  EXPECT_EQ(form->KalibrA41->Name(), "KalibrA41");
}

TEST_F(MainWindowFixture, ServiceItemsAreHiddenAsDesigned) {
  EXPECT_FALSE(form->ServicePanel->Visible());
  EXPECT_FALSE(form->LabelPause->Visible());
  EXPECT_FALSE(form->N9->Visible());
  EXPECT_TRUE(form->N1->Visible() && form->N6->Visible() && form->N4->Visible());
  EXPECT_FALSE(form->N7->Checked());
  EXPECT_FALSE(form->N8->Checked());
  EXPECT_EQ(form->Menu(), form->MainMenu);
  std::vector<std::string> top;
  for (const ui::TMenuItem* item : form->MainMenu->Items()->Items())
    top.push_back(item->Caption());
  EXPECT_EQ(top, (std::vector<std::string>{"Файл", "Вид", "Помощь", "Утилиты"}));
  EXPECT_EQ(form->N11->ShortCut(), 16463);
  EXPECT_EQ(form->N12->ShortCut(), 16467);
  EXPECT_EQ(form->N3->Caption(), "-");
  EXPECT_EQ(form->ft2321->Caption(), "Вшить идентификатор FT232");
}

TEST_F(MainWindowFixture, LayoutAsDesigned) {
  EXPECT_EQ(form->Width(), 973);
  EXPECT_EQ(form->Height(), 512);
  EXPECT_EQ(form->MinWidth(), 400);
  EXPECT_EQ(form->MinHeight(), 300);
  EXPECT_EQ(form->UpPanel->Align(), ui::TAlign::alTop);
  EXPECT_EQ(form->UpPanel->Height(), 113);
  EXPECT_EQ(form->ServicePanel->Align(), ui::TAlign::alRight);
  EXPECT_EQ(form->ServicePanel->Width(), 170);
  EXPECT_EQ(form->ChartSignalBox->Align(), ui::TAlign::alClient);
  // The large values grow to the left from a fixed right edge.
  for (const TLabel* label : {form->LabelUrms, form->LabelUdc}) {
    EXPECT_EQ(label->Left() + label->Width(), 233);
    EXPECT_EQ(label->Font().name, "Lucida Console");
    EXPECT_EQ(label->Font().height, 32);
    EXPECT_TRUE(label->Font().bold);
  }
  form->LabelUrms->SetCaption("123.456");
  EXPECT_EQ(form->LabelUrms->Left() + form->LabelUrms->Width(), 233);
  EXPECT_EQ(form->LabelKIS->Width(), 105);
  EXPECT_EQ(form->LabelKIS->Alignment(), ui::TAlignment::taRightJustify);
  EXPECT_EQ(form->LabelKIS->Font().height, 16);
  EXPECT_EQ(form->KalibrX21->Left(), 56);
  EXPECT_EQ(form->KalibrX21->Top(), 64);
  EXPECT_EQ(form->KalibrX21->Parent(), form->GroupBox2);
}

TEST_F(MainWindowFixture, ChartAsDesigned) {
  const chart::Chart& c = form->ChartSignal;
  EXPECT_EQ(c.BottomAxis().Minimum(), 0);
  EXPECT_EQ(c.BottomAxis().Maximum(), 100);
  EXPECT_EQ(c.LeftAxis().Minimum(), 34);
  EXPECT_EQ(c.LeftAxis().Maximum(), 347);
  EXPECT_FALSE(c.LeftAxis().Automatic() || c.LeftAxis().AutomaticMinimum() ||
               c.LeftAxis().AutomaticMaximum() || c.BottomAxis().Automatic());
  ASSERT_EQ(c.SeriesCount(), 1u);
  EXPECT_EQ(&c.SeriesAt(0), form->Series1);
  EXPECT_EQ(form->Series1->Title(), "Signal");
  EXPECT_EQ(form->Series1->SeriesColor(), chart::kRed);
  EXPECT_EQ(form->Series1->LineWidth(), 2);
  EXPECT_FALSE(form->Series1->PointerVisible());
}

TEST_F(MainWindowFixture, AutoScaleSetsASymmetricRangeOfTenDivisions) {
  struct Row {
    int scaleIndex;
    float uMax, uMin;
    double min, max, increment;
  };
  const Row rows[] = {
      {0, 3.2f, -3.4f, -5, 5, 1},
      {0, 0.04f, -0.03f, -0.5, 0.5, 0.1},
      {0, 480, -12, -500, 500, 100},
      // A fixed scale, or none selected, leaves the axis as it stands.
      {3, 3.2f, -3.4f, 34, 347, 0},
      {-1, 3.2f, -3.4f, 34, 347, 0},
  };
  for (const Row& r : rows) {
    auto fresh = std::make_unique<TMForm>(nullptr);
    fresh->ComboBoxU->SetItemIndex(r.scaleIndex);
    rec->uMax = r.uMax;
    rec->uMin = r.uMin;
    fresh->ShowMeasRecord(rec.get());
    const chart::Axis& axis = fresh->ChartSignal.LeftAxis();
    EXPECT_DOUBLE_EQ(axis.Minimum(), r.min) << r.uMax;
    EXPECT_DOUBLE_EQ(axis.Maximum(), r.max) << r.uMax;
    EXPECT_DOUBLE_EQ(axis.Increment(), r.increment) << r.uMax;
    EXPECT_FALSE(axis.Automatic());
  }
}

TEST_F(MainWindowFixture, ReadoutsTakeDecimalsFromTheRange) {
  struct Row {
    uint8_t range;
    float rms, dc, max, min, hz, kis;
    const char *tRms, *tDc, *tMax, *tMin, *tHz, *tKis;
  };
  const Row rows[] = {
      {1, 1.234f, -0.0004f, 0.5f, -1.5f, 50, 3.1f, "1.234", "0.000", "0.500 кВ", "-1.500 кВ",
       "50.00 Гц", "3.10  %"},
      {0, 0.125f, -0.001f, 12.345f, -0.125f, 49.996f, 0, "0.13", "0.00", "12.35 кВ", "-0.13 кВ",
       "50.00 Гц", "0.00  %"},
  };
  for (const Row& r : rows) {
    rec->range = r.range;
    rec->uRms = r.rms;
    rec->uDc = r.dc;
    rec->uMax = r.max;
    rec->uMin = r.min;
    rec->fundamentalHz = r.hz;
    rec->shownHarmonics.value[HarmonicBlock::kKis] = r.kis;
    form->ShowMeasRecord(rec.get());
    EXPECT_EQ(form->LabelUrms->Caption(), r.tRms);
    EXPECT_EQ(form->LabelUdc->Caption(), r.tDc);
    EXPECT_EQ(form->LabelUmax->Caption(), r.tMax);
    EXPECT_EQ(form->LabelUmin->Caption(), r.tMin);
    EXPECT_EQ(form->LabelFreq->Caption(), r.tHz);
    EXPECT_EQ(form->LabelKIS->Caption(), r.tKis);
  }
}

TEST_F(MainWindowFixture, ReadoutsUseTheUsersDecimalSeparator) {
  ui::Locale locale;
  locale.decimalSeparator = ",";
  ui::SetUserLocale(locale);
  rec->range = 1;
  rec->uMax = 0.5f;
  form->ShowMeasRecord(rec.get());
  EXPECT_EQ(form->LabelUmax->Caption(), "0,500 кВ");
}

TEST_F(MainWindowFixture, WaveformStartsAtTheTriggerPoint) {
  struct Row {
    int log2N;
    int32_t trigger;
    float period;
    std::size_t count;
    double firstX;
  };
  const Row rows[] = {
      {14, 100, 0.05f, 16384, -100 * double(0.05f)},
      {12, 100, 0.05f, 4096, -100 * double(0.05f)},
      {0, 0, 0.02f, 1, 0},
      // A damaged trigger index still gives finite, ordered positions.
      {3, INT_MIN, 1, 8, -double(INT_MIN)},
  };
  for (const Row& r : rows) {
    rec->log2N = r.log2N;
    rec->triggerIndex = r.trigger;
    rec->samplePeriodMs = r.period;
    for (int i = 0; i < (1 << r.log2N); ++i)
      rec->voltage[i] = float(i % 7) - 3.0f;
    form->ShowMeasRecord(rec.get());
    const chart::LineSeries& s = *form->Series1;
    ASSERT_EQ(s.Count(), r.count);
    EXPECT_DOUBLE_EQ(s.XValue(0), r.firstX);
    EXPECT_EQ(s.YValue(0), -3.0f);
    EXPECT_EQ(s.YValue(r.count - 1), float((r.count - 1) % 7) - 3.0f);
    EXPECT_DOUBLE_EQ(s.XValue(r.count - 1), (double(r.count - 1) - r.trigger) * r.period);
  }
  rec->log2N = 12;
  rec->triggerIndex = 100;
  rec->samplePeriodMs = 0.05f;
  form->ShowMeasRecord(rec.get());
  EXPECT_EQ(form->Series1->XValue(100), 0.0);
}

TEST_F(MainWindowFixture, ARecordLargerThanItsArraysShowsNoWaveform) {
  for (int log2N : {15, 31, -1, INT_MAX, INT_MIN}) {
    rec->log2N = log2N;
    rec->uRms = 1.5f;
    form->ShowMeasRecord(rec.get());
    EXPECT_EQ(form->Series1->Count(), 0u) << log2N;
    EXPECT_EQ(form->LabelUrms->Caption(), "1.50");
  }
}

TEST_F(MainWindowFixture, ServicePanelIsWrittenInServiceModeOnly) {
  rec->zeroOffset = -12;
  rec->clockDivider = 65535;
  rec->range = 1;
  rec->acWeight = 40000;
  for (int g = 0; g < 2; ++g) {
    rec->kalibr[g].DC = uint16_t(60000 + g);
    for (int i = 0; i < 5; ++i) {
      rec->kalibr[g].Y[i] = uint16_t(100 * g + 10 * i + 1);
      rec->kalibr[g].X[i] = uint16_t(100 * g + 10 * i + 2);
      rec->kalibr[g].A[i] = uint16_t(100 * g + 10 * i + 3);
    }
  }
  form->ShowMeasRecord(rec.get());
  EXPECT_EQ(form->SerLabel6->Caption(), "SerLabel6");
  EXPECT_EQ(form->KalibrY31->Caption(), "Y3");

  ServiceMode = 1;
  form->ShowMeasRecord(rec.get());
  struct Text {
    const TLabel* label;
    const char* caption;
  };
  const Text texts[] = {
      {form->SerLabel4, "SerLabel4"}, {form->SerLabel5, "65535"}, {form->SerLabel6, "-12"},
      {form->SerLabel7, "1"},         {form->Label9, "40000"},    {form->KalibrDC0, "60000"},
      {form->KalibrDC1, "60001"},     {form->KalibrY31, "131"},   {form->KalibrX00, "2"},
      {form->KalibrA41, "143"},       {form->KalibrY40, "41"},    {form->KalibrX11, "112"},
  };
  for (const Text& t : texts)
    EXPECT_EQ(t.label->Caption(), t.caption);
}

TEST_F(MainWindowFixture, TheHiddenSpectrumWindowIsRefilledWithEveryRecord) {
  TempDir dir;
  IniFileName = dir.File("VRX-470.ini");
  SpektrForm = new TSpektrForm(nullptr);
  ASSERT_FALSE(SpektrForm->Visible());
  for (int log2N : {12, 14}) {
    rec->log2N = log2N;
    rec->binWidthHz = 1;
    form->ShowMeasRecord(rec.get());
    EXPECT_GT(SpektrForm->Series1->Count(), 0u) << log2N;
    SpektrForm->Series1->Clear();
  }
  delete SpektrForm;
  SpektrForm = nullptr;
}

}  // namespace

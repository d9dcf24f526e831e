#include "log_form.h"

#include <utility>

#include "batched_redraw.h"
#include "chart_host.h"
#include "error_box.h"
#include "log_scales.h"
#include "main_form.h"
#include "record_file.h"
#include "resident_placement.h"
#include "settings.h"

TLogForm* LogForm = nullptr;

namespace {

const char kSection[] = "LogWindow";

// The settings keys of one series and its check box, with their defaults.
struct SeriesKeys {
  const char* colorKey;
  const char* colorDefault;
  const char* shownKey;
};

constexpr SeriesKeys kRmsKeys{"RmsColor", "4259584", "RmsVisible"};
constexpr SeriesKeys kDcKeys{"DcColor", "0", "DcVisible"};
constexpr SeriesKeys kMaxKeys{"MaxColor", "255", "MaxVisible"};
constexpr SeriesKeys kMinKeys{"MinColor", "12615680", "MinVisible"};

// Settings hold a colour as the decimal of 0x00BBGGRR; the byte above blue carries nothing here.
ui::TColor ColorFromSetting(int32_t value) {
  return static_cast<ui::TColor>(value) & 0xFFFFFF;
}

ui::TMenuItem* ViewMenuItem() {
  return MForm ? MForm->N8 : nullptr;
}

}  // namespace

TLogForm::TLogForm(ui::TComponent* Owner) : ui::TForm(Owner) {
  SetCaption("Журнал");
  SetCloseBoxOnly(true);
  SetBounds(0, 0, 797, 614);
  SetMinSize(400, 200);
  OnClose = ui::Handler(this, &TLogForm::FormClose);
  CreatePanel();
  CreateChart();
  NameComponents();
  LogColorDialog = new ui::TColorDialog(this);
  SaveLogDialog = new ui::TSaveDialog(this);
  SaveLogDialog->defaultExt = "csv";
  SaveLogDialog->filter = "Файл *.csv|*.csv";
  Timer1 = new ui::TTimer(this);
  Timer1->SetEnabled(false);
  Timer1->SetInterval(500);
  Timer1->OnTimer = ui::Handler(this, &TLogForm::Timer1Timer);
  LogFullTimer = new ui::TTimer(this);
  LogFullTimer->SetEnabled(false);
  LogFullTimer->SetInterval(1);
  LogFullTimer->OnTimer = ui::Handler(this, &TLogForm::LogFullTimerTimer);
  ReadSettings();
}

TLogForm::~TLogForm() {
  UnhostChart(*LogChartBox, LogChart);
  if (LogForm == this)
    LogForm = nullptr;
}

ui::TCheckBox* TLogForm::MakeSeriesCheckBox(int top, const std::string& caption) {
  auto* box = Make<ui::TCheckBox>(Panel1);
  box->SetBounds(8, top, 65, 17);
  box->SetCaption(caption);
  // Bold captions in the series' colours serve as the chart's legend.
  ui::TFont font;
  font.height = 13;
  font.bold = true;
  box->SetFont(font);
  return box;
}

void TLogForm::CreatePanel() {
  Panel1 = Make<ui::TPanel>(this);
  Panel1->SetHeight(97);
  Panel1->SetAlign(ui::TAlign::alTop);

  CheckBox1 = MakeSeriesCheckBox(8, "Urms");
  CheckBox2 = MakeSeriesCheckBox(24, "Udc");
  CheckBox3 = MakeSeriesCheckBox(40, "Umax");
  CheckBox4 = MakeSeriesCheckBox(56, "Umin");
  CheckBox1->OnClick = ui::Handler(this, &TLogForm::CheckBox1Click);
  CheckBox2->OnClick = ui::Handler(this, &TLogForm::CheckBox2Click);
  CheckBox3->OnClick = ui::Handler(this, &TLogForm::CheckBox3Click);
  CheckBox4->OnClick = ui::Handler(this, &TLogForm::CheckBox4Click);
  CheckBox1->OnContextPopup = ui::Handler(this, &TLogForm::CheckBox1ContextPopup);
  CheckBox2->OnContextPopup = ui::Handler(this, &TLogForm::CheckBox2ContextPopup);
  CheckBox3->OnContextPopup = ui::Handler(this, &TLogForm::CheckBox3ContextPopup);
  CheckBox4->OnContextPopup = ui::Handler(this, &TLogForm::CheckBox4ContextPopup);

  Label1 = Make<ui::TLabel>(Panel1);
  Label1->SetBounds(80, 8, 0, 0);
  Label1->SetCaption("Масштаб по вертикали");
  ComboBox1 = Make<ui::TComboBox>(Panel1);
  ComboBox1->SetBounds(80, 24, 129, 21);
  ComboBox1->SetItemHeight(16);
  ComboBox1->SetItems({"авто", "0,1 кВ/дел", "0,2 кВ/дел", "0,5 кВ/дел", "1 кВ/дел", "2 кВ/дел",
                       "5 кВ/дел", "10 кВ/дел", "20 кВ/дел", "50 кВ/дел"});
  ComboBox1->SetItemIndex(0);
  ComboBox1->OnChange = ui::Handler(this, &TLogForm::ComboBox1Change);

  Label10 = Make<ui::TLabel>(Panel1);
  Label10->SetBounds(80, 48, 0, 0);
  Label10->SetCaption("Масштаб по горизонтали");
  ComboBox2 = Make<ui::TComboBox>(Panel1);
  ComboBox2->SetBounds(80, 64, 129, 21);
  ComboBox2->SetItems(
      {"10 сек/дел", "1 мин/дел", "2 мин/дел", "5 мин/дел", "10 мин/дел", "20 мин/дел"});
  ComboBox2->SetItemIndex(0);
  ComboBox2->OnChange = ui::Handler(this, &TLogForm::ComboBox2Change);

  Button2 = Make<ui::TButton>(Panel1);
  Button2->SetBounds(224, 8, 89, 25);
  Button2->SetCaption(" Очистить");
  Button2->OnClick = ui::Handler(this, &TLogForm::Button2Click);

  Button1 = Make<ui::TButton>(Panel1);
  Button1->SetBounds(224, 40, 89, 25);
  Button1->SetCaption("Сохранить");
  Button1->OnClick = ui::Handler(this, &TLogForm::Button1Click);
  CursorCheckBox = Make<ui::TCheckBox>(Panel1);
  CursorCheckBox->SetBounds(328, 8, 81, 17);
  CursorCheckBox->SetCaption("Курсор");
  CursorCheckBox->OnClick = ui::Handler(this, &TLogForm::CursorCheckBoxClick);
  CreateReadout();
}

void TLogForm::CreateChart() {
  LogChartBox = Make<ui::TPaintControl>(this);
  LogChartBox->SetAlign(ui::TAlign::alClient);
  HostChart(*LogChartBox, LogChart);

  chart::Axis& time = LogChart.BottomAxis();
  time.SetDateTime(true);
  time.SetMinMax(0.0, 25.0);
  time.SetIncrement(1.0 / 1440.0);
  LogChart.LeftAxis().SetMinMax(267.0, 1096.0);

  SeriesRMS = &LogChart.AddSeries<chart::LineSeries>();
  SeriesDC = &LogChart.AddSeries<chart::LineSeries>();
  SeriesMax = &LogChart.AddSeries<chart::LineSeries>();
  SeriesMin = &LogChart.AddSeries<chart::LineSeries>();
  for (chart::LineSeries* series : {SeriesRMS, SeriesDC, SeriesMax, SeriesMin})
    series->SetLineWidth(2);

  LogChart.OnMouseMove = [this](int x, int y) { LogChartMouseMove(LogChartBox, x, y); };
  LogChart.OnEnter = [this] { LogChartEnter(LogChartBox); };
  LogChart.OnExit = [this] { LogChartExit(LogChartBox); };
  SeriesDC->OnAfterDrawValues = ui::Handler(this, &TLogForm::SeriesDCAfterDrawValues);
}

void TLogForm::ReadSettings() {
  const bool visible = RestoreResidentPlacement(*this, kSection);
  if (ui::TMenuItem* item = ViewMenuItem())
    item->SetChecked(visible);

  struct SeriesSetting {
    ui::TCheckBox* box;
    chart::Series* series;
    const SeriesKeys& keys;
  };
  const SeriesSetting settings[] = {{CheckBox1, SeriesRMS, kRmsKeys},
                                    {CheckBox2, SeriesDC, kDcKeys},
                                    {CheckBox3, SeriesMax, kMaxKeys},
                                    {CheckBox4, SeriesMin, kMinKeys}};
  for (const SeriesSetting& s : settings) {
    SetSeriesColor(s.box, s.series,
                   ColorFromSetting(ReadSetting(kSection, s.keys.colorKey, s.keys.colorDefault)));
    const bool shown = ReadSetting(kSection, s.keys.shownKey, "1") != 0;
    // A box whose state does not change runs no click: the series follows here as well.
    s.box->SetChecked(shown);
    s.series->SetActive(shown);
  }

  ComboBox1->SetItemIndex(ReadSetting(kSection, "MashtabIndexU", "0"));
  ComboBox1Change(ComboBox1);
  ComboBox2->SetItemIndex(ReadSetting(kSection, "MashtabIndexT", "0"));
  ComboBox2Change(ComboBox2);
  LogChart.BottomAxis().SetDateTimeFormat("hh:nn");
}

void TLogForm::WriteSettings() {
  SaveResidentPlacement(*this, kSection);
  const std::pair<const SeriesKeys&, const chart::Series*> series[] = {
      {kRmsKeys, SeriesRMS}, {kDcKeys, SeriesDC}, {kMaxKeys, SeriesMax}, {kMinKeys, SeriesMin}};
  for (const auto& [keys, s] : series) {
    WriteSetting(kSection, keys.colorKey, static_cast<int32_t>(s->SeriesColor()));
    WriteSetting(kSection, keys.shownKey, s->Active() ? 1 : 0);
  }
  WriteSetting(kSection, "MashtabIndexU", ComboBox1->ItemIndex());
  WriteSetting(kSection, "MashtabIndexT", ComboBox2->ItemIndex());
}

void TLogForm::FormClose(ui::TObject*, ui::TCloseAction&) {
  SetVisible(false);
  if (ui::TMenuItem* item = ViewMenuItem())
    item->SetChecked(false);
}

void TLogForm::ShowSeries(ui::TCheckBox* box, chart::Series* series) {
  series->SetActive(box->Checked());
}

void TLogForm::CheckBox1Click(ui::TObject*) {
  ShowSeries(CheckBox1, SeriesRMS);
}
void TLogForm::CheckBox2Click(ui::TObject*) {
  ShowSeries(CheckBox2, SeriesDC);
}
void TLogForm::CheckBox3Click(ui::TObject*) {
  ShowSeries(CheckBox3, SeriesMax);
}
void TLogForm::CheckBox4Click(ui::TObject*) {
  ShowSeries(CheckBox4, SeriesMin);
}

void TLogForm::SetSeriesColor(ui::TCheckBox* box, chart::Series* series, ui::TColor color) {
  ui::TFont font = box->Font();
  font.color = color;
  box->SetFont(font);
  series->SetColor(color);
}

void TLogForm::PickSeriesColor(ui::TCheckBox* box, chart::Series* series) {
  // The dialog opens with the colour last chosen in it, not with the series' colour.
  if (LogColorDialog->Execute())
    SetSeriesColor(box, series, LogColorDialog->color);
}

void TLogForm::CheckBox1ContextPopup(ui::TObject*, ui::TPoint, bool&) {
  PickSeriesColor(CheckBox1, SeriesRMS);
}
void TLogForm::CheckBox2ContextPopup(ui::TObject*, ui::TPoint, bool&) {
  PickSeriesColor(CheckBox2, SeriesDC);
}
void TLogForm::CheckBox3ContextPopup(ui::TObject*, ui::TPoint, bool&) {
  PickSeriesColor(CheckBox3, SeriesMax);
}
void TLogForm::CheckBox4ContextPopup(ui::TObject*, ui::TPoint, bool&) {
  PickSeriesColor(CheckBox4, SeriesMin);
}

void TLogForm::Button2Click(ui::TObject*) {
  BatchedRedraw redraw(LogChart);
  for (chart::Series* series : {SeriesRMS, SeriesDC, SeriesMin, SeriesMax})
    series->Clear();
  // Clearing gives the memory back: the log takes readings again, and a message not yet shown
  // has nothing left to say.
  logFull_ = false;
  LogFullTimer->SetEnabled(false);
}

void TLogForm::ComboBox1Change(ui::TObject*) {
  const int index = ComboBox1->ItemIndex();
  BatchedRedraw redraw(LogChart);
  if (index == 0) {
    AutoScale();
  } else if (index > 0 && index < static_cast<int>(kLogVoltScaleCount)) {
    const double step = kLogVoltsPerDivision[index];
    const double half = step * kLogDivisions / 2;
    LogChart.LeftAxis().SetMinMax(-half, half);
    LogChart.LeftAxis().SetIncrement(step);
  }
}

void TLogForm::ComboBox2Change(ui::TObject*) {
  const int index = ComboBox2->ItemIndex();
  if (index >= 0 && index < static_cast<int>(kLogTimeScaleCount))
    LogChart.BottomAxis().SetIncrement(kLogDaysPerDivision[index]);
}

void TLogForm::Timer1Timer(ui::TObject*) {}

void TLogForm::StopLogging() {
  logFull_ = true;
  // Shown inside the hand-over, the box would hold the connection thread, and measuring with it,
  // until the user answers; the timer shows it from the message loop instead.
  LogFullTimer->SetEnabled(true);
}

void TLogForm::LogFullTimerTimer(ui::TObject*) {
  // Off before the box: its own message loop goes on running timers.
  LogFullTimer->SetEnabled(false);
  ShowErrorBox(kLogFullText, kErrorTitle);
}

void TLogForm::AddPoint(const TMeasRecord& rec) {
  if (logFull_)
    return;
  // The whole reading or nothing: room in every series before any takes its point, so that
  // point i stays the same reading in all four.
  for (chart::Series* series : {SeriesRMS, SeriesDC, SeriesMin, SeriesMax}) {
    if (!series->ReservePoint()) {
      StopLogging();
      return;
    }
  }
  // One time for the whole reading, so that a clock set back between its four points cannot
  // sort them apart: point i stays the same reading in every series.
  const ui::TDateTime now = Clock();
  // One redraw for the reading, not one for each axis and point.
  BatchedRedraw redraw(LogChart);
  chart::Axis& time = LogChart.BottomAxis();
  // Both ends at once: a clock set back by more than the shown span moves the axis as well.
  time.SetMinMax(now - kLogDivisions * time.Increment(), now);
  time.SetDateTimeFormat(LogTimeFormat(time.Maximum() - time.Minimum()));

  SeriesRMS->AddXY(now, rec.uRms);
  SeriesDC->AddXY(now, rec.uDc);
  SeriesMin->AddXY(now, rec.uMin);
  SeriesMax->AddXY(now, rec.uMax);
  if (ComboBox1->ItemIndex() == 0)
    AutoScale();
}

void TLogForm::AutoScale() {
  // The maximum series alone sets the scale, all its points, hidden or not.
  const float a = GetScaleStep(static_cast<float>(SeriesMax->MaxYValue()),
                               static_cast<float>(SeriesMax->MinYValue()));
  LogChart.LeftAxis().SetMinMax(-a, a);
  LogChart.LeftAxis().SetIncrement(0.2 * a);
}

void AddLogPoint(const TMeasRecord* rec) {
  if (LogForm && rec)
    LogForm->AddPoint(*rec);
}

void LogAutoScale() {
  if (LogForm)
    LogForm->AutoScale();
}

// The log window's cursor (the reading under the mouse, its readout and its line) and the CSV
// export of the log.
#include <utility>

#include "axis.h"
#include "log_export.h"
#include "log_form.h"

namespace {

const char kKilovolts[] = " кВ";

// The first point whose x is not below t; 0 when there is none. The times ascend, so the points
// below t come first, and halving finds what a search from the first point would.
std::size_t FirstPointAtOrAfter(const chart::Series& series, double t) {
  std::size_t low = 0;
  std::size_t high = series.Count();
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (series.XValue(middle) < t) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low < series.Count() ? low : 0;
}

}  // namespace

void TLogForm::CreateReadout() {
  Panel2 = Make<ui::TPanel>(Panel1);
  Panel2->SetBounds(405, 1, 159, 95);
  Panel2->SetBevel(false);
  Panel2->SetVisible(false);
  struct Designed {
    ui::TLabel** label;
    int left, top;
    const char* text;
  };
  const Designed designed[] = {
      {&Label11, 8, 8, "Время"},     {&Label12, 64, 8, "00:00:00"}, {&Label2, 8, 24, "Urms"},
      {&Label6, 64, 24, "0.000 кВ"}, {&Label3, 8, 40, "Udc"},       {&Label7, 64, 40, "0.000 кВ"},
      {&Label4, 8, 56, "Umax"},      {&Label8, 64, 56, "0.000 кВ"}, {&Label5, 8, 72, "Umin"},
      {&Label9, 64, 72, "0.000 кВ"},
  };
  for (const Designed& d : designed) {
    *d.label = Make<ui::TLabel>(Panel2);
    (*d.label)->SetBounds(d.left, d.top, 0, 13);
    (*d.label)->SetCaption(d.text);
  }
}

void TLogForm::NameComponents() {
#define NAMED(c) std::pair<ui::TComponent*, const char*>(c, #c)
  const std::pair<ui::TComponent*, const char*> named[] = {
      NAMED(Panel1),         NAMED(CheckBox1), NAMED(CheckBox2), NAMED(CheckBox3), NAMED(CheckBox4),
      NAMED(ComboBox1),      NAMED(ComboBox2), NAMED(Button2),   NAMED(Button1),   NAMED(Panel2),
      NAMED(CursorCheckBox), NAMED(Label11),   NAMED(Label12),   NAMED(Label2),    NAMED(Label6),
      NAMED(Label3),         NAMED(Label7),    NAMED(Label4),    NAMED(Label8),    NAMED(Label5),
      NAMED(Label9)};
#undef NAMED
  for (const auto& [component, name] : named)
    component->SetName(name);
  LogChartBox->SetName("LogChart");
  SetName("LogForm");
}

void TLogForm::CursorCheckBoxClick(ui::TObject*) {
  // Clearing the box leaves the line drawn until the chart's next redraw.
  Panel2->SetVisible(CursorCheckBox->Checked());
}

void TLogForm::LogChartEnter(ui::TObject*) {
  Panel2->SetVisible(true);
}

void TLogForm::LogChartExit(ui::TObject*) {
  Panel2->SetVisible(false);
}

void TLogForm::LogChartMouseMove(ui::TObject*, int X, int) {
  if (!CursorCheckBox->Checked())
    return;
  // The mouse's time through the chart's first series; the search compares with the DC times.
  const double t = LogChart.SeriesAt(0).XPixelToValue(X);
  LogCursorIndex = static_cast<int>(FirstPointAtOrAfter(*SeriesDC, t));
  // Index 0 is also "no reading qualifies": the readout keeps what it shows.
  if (LogCursorIndex != 0)
    ShowCursorReading(static_cast<std::size_t>(LogCursorIndex));
  LogChart.Repaint();
}

void TLogForm::ShowCursorReading(std::size_t index) {
  Label12->SetCaption(ui::TimeToStr(SeriesRMS->XValue(index)));
  const std::pair<ui::TLabel*, const chart::Series*> readouts[] = {
      {Label6, SeriesRMS}, {Label7, SeriesDC}, {Label8, SeriesMax}, {Label9, SeriesMin}};
  for (const auto& [label, series] : readouts)
    label->SetCaption(ui::FormatFixed(series->YValue(index), 3) + kKilovolts);
}

void TLogForm::SeriesDCAfterDrawValues(chart::Series&) {
  if (!CursorCheckBox->Checked())
    return;
  // After " Очистить" the index may name no point until the mouse moves again: no line then.
  if (LogCursorIndex < 0 || static_cast<std::size_t>(LogCursorIndex) >= SeriesRMS->Count())
    return;
  chart::Canvas* canvas = LogChart.PaintCanvas();
  if (canvas == nullptr)
    return;
  const double x = LogChart.SeriesAt(0).XValueToPixel(SeriesRMS->XValue(LogCursorIndex));
  const int px = chart::RoundPixel(x);
  // Across the whole chart, margins and axis labels included.
  canvas->SetPen(chart::Pen{chart::kWhite, 2, chart::PenStyle::kSolid});
  canvas->Line(chart::Point{px, 0}, chart::Point{px, LogChart.Height()});
}

void TLogForm::Button1Click(ui::TObject*) {
  if (!SaveLogDialog->Execute())
    return;
  // A file error leaves this handler as the framework's exception, which the application's
  // exception box shows; the log is only read.
  ExportLogCsv(SaveLogDialog->fileName, *SeriesRMS, *SeriesDC, *SeriesMax, *SeriesMin);
}

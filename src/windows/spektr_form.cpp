#include "spektr_form.h"

#include "batched_redraw.h"
#include "chart_host.h"
#include "format.h"
#include "main_form.h"
#include "resident_placement.h"
#include "settings.h"

TSpektrForm* SpektrForm = nullptr;

namespace {

const char kSection[] = "SpektrWindow";

constexpr int kHarmonicCount = 40;
// Each column pair lists ten harmonics under its header row.
constexpr int kRowsPerPair = 10;
constexpr int kGridRows = kRowsPerPair + 1;

struct HarmonicCell {
  int numberCol;
  int valueCol;
  int row;
};

HarmonicCell CellOf(int k) {
  const int pair = (k - 1) / kRowsPerPair;
  return {2 * pair, 2 * pair + 1, (k - 1) % kRowsPerPair + 1};
}

// Half of 2^log2N bars, held to what the spectrum array holds: a damaged record may carry any
// log2N, and no bar may come from beyond the array.
int BarCount(int32_t log2N) {
  if (log2N < 1)
    return 0;
  if (log2N > kMaxLog2N)
    return kMaxBins;
  return 1 << (log2N - 1);
}

}  // namespace

TSpektrForm::TSpektrForm(ui::TComponent* Owner) : ui::TForm(Owner) {
  SetName("SpektrForm");
  SetCaption("Спектр");
  SetCloseBoxOnly(true);
  SetBounds(Left(), Top(), 856, 563);
  SetMinSize(400, 200);
  CreatePopupMenu();
  CreateGrid();
  CreateChart();
  OnClose = ui::Handler(this, &TSpektrForm::FormClose);
  OnResize = ui::Handler(this, &TSpektrForm::FormResize);
  // The columns fit the designed width until the placement resizes the window.
  FormResize(this);

  RestoreSettings();

  for (int p = 0; p < SpektrStringGrid->ColCount() / 2; ++p) {
    SpektrStringGrid->SetCell(2 * p, 0, "Номер гарм.");
    SpektrStringGrid->SetCell(2 * p + 1, 0, "Коэфф. гарм.");
  }
  SpektrStringGrid->SetRowCount(kGridRows);
  for (int k = 1; k <= kHarmonicCount; ++k) {
    const HarmonicCell cell = CellOf(k);
    SpektrStringGrid->SetCell(cell.numberCol, cell.row, ui::IntToStr(k));
  }
}

TSpektrForm::~TSpektrForm() {
  UnhostChart(*SpektrChartBox, SpektrChart);
  if (SpektrForm == this)
    SpektrForm = nullptr;
}

ui::TMenuItem* TSpektrForm::MakeMenuItem(ui::TMenuItem* parent, const std::string& caption,
                                         int group) {
  auto* item = new ui::TMenuItem(this);
  item->SetCaption(caption);
  if (group != 0) {
    item->SetRadioItem(true);
    item->SetGroupIndex(group);
  }
  parent->Add(item);
  return item;
}

void TSpektrForm::CreatePopupMenu() {
  SpektrPopupMenu = new ui::TPopupMenu(this);
  SpektrPopupMenu->SetName("SpektrPopupMenu");
  // Each submenu's two items form a radio group of their own.
  N1 = MakeMenuItem(SpektrPopupMenu->Items(), "Масштаб по вертикати", 0);
  LogMenuVertLin = MakeMenuItem(N1, "Линейный", 1);
  LogMenuVertLog = MakeMenuItem(N1, "Логарифмический", 1);
  N2 = MakeMenuItem(SpektrPopupMenu->Items(), "Масштаб по горизотали", 0);
  LogMenuHorLin = MakeMenuItem(N2, "Линейный", 2);
  LogMenuHorLog = MakeMenuItem(N2, "Логарифмический", 2);
  LogMenuVertLin->SetChecked(true);
  LogMenuHorLin->SetChecked(true);
  for (ui::TMenuItem* item : {LogMenuVertLin, LogMenuVertLog})
    item->OnClick = ui::Handler(this, &TSpektrForm::LogMenuVertLinClick);
  for (ui::TMenuItem* item : {LogMenuHorLin, LogMenuHorLog})
    item->OnClick = ui::Handler(this, &TSpektrForm::LogMenuHorLinClick);
}

void TSpektrForm::CreateGrid() {
  SpektrStringGrid = new ui::TStringGrid(this);
  SpektrStringGrid->SetName("SpektrStringGrid");
  SpektrStringGrid->SetParent(this);
  SpektrStringGrid->SetHeight(169);
  SpektrStringGrid->SetAlign(ui::TAlign::alBottom);
  SpektrStringGrid->SetColCount(8);
  SpektrStringGrid->SetRowCount(21);
  SpektrStringGrid->SetFixedCols(0);
  SpektrStringGrid->SetFixedRows(1);
  SpektrStringGrid->SetDefaultRowHeight(14);
}

void TSpektrForm::CreateChart() {
  SpektrChartBox = new ui::TPaintControl(this);
  SpektrChartBox->SetName("SpektrChart");
  SpektrChartBox->SetParent(this);
  SpektrChartBox->SetAlign(ui::TAlign::alClient);
  SpektrChartBox->SetPopupMenu(SpektrPopupMenu);
  HostChart(*SpektrChartBox, SpektrChart);
  SpektrChart.SetPopupMenu(SpektrPopupMenu);
  SpektrChart.SetMargins(chart::Margins{1, 1, 1, 1});

  chart::Axis& bottom = SpektrChart.BottomAxis();
  bottom.SetTitle("Частота, Гц");
  bottom.SetIncrement(100.0);
  bottom.SetAutomatic(true);
  chart::Axis& left = SpektrChart.LeftAxis();
  left.SetTitle("Коэффициент гармоники, %");
  left.SetAutomatic(true);

  Series1 = &SpektrChart.AddSeries<chart::BarSeries>();
  Series1->SetColor(chart::kRed);
  Series1->SetOutlineWidth(2);
}

void TSpektrForm::RestoreSettings() {
  SetMenuN7Checked(RestoreResidentPlacement(*this, kSection));
  const bool horLog = ReadSetting(kSection, "HorLog", "0") != 0;
  const bool vertLog = ReadSetting(kSection, "VertLog", "0") != 0;
  SpektrChart.BottomAxis().SetLogarithmic(horLog);
  SpektrChart.LeftAxis().SetLogarithmic(vertLog);
  (horLog ? LogMenuHorLog : LogMenuHorLin)->SetChecked(true);
  (vertLog ? LogMenuVertLog : LogMenuVertLin)->SetChecked(true);
}

void TSpektrForm::SaveSettings() {
  SaveResidentPlacement(*this, kSection);
  WriteSetting(kSection, "HorLog", SpektrChart.BottomAxis().Logarithmic() ? 1 : 0);
  WriteSetting(kSection, "VertLog", SpektrChart.LeftAxis().Logarithmic() ? 1 : 0);
}

void TSpektrForm::SetMenuN7Checked(bool checked) {
  // The main window exists before this one in the program; a test may make this one alone.
  if (MForm != nullptr && MForm->N7 != nullptr)
    MForm->N7->SetChecked(checked);
}

void TSpektrForm::FormClose(ui::TObject*, ui::TCloseAction&) {
  SetVisible(false);
  SetMenuN7Checked(false);
}

void TSpektrForm::FormResize(ui::TObject*) {
  SpektrStringGrid->SetDefaultColWidth((SpektrStringGrid->Width() - 10) /
                                       SpektrStringGrid->ColCount());
}

void TSpektrForm::LogMenuVertLinClick(ui::TObject* Sender) {
  auto* item = dynamic_cast<ui::TMenuItem*>(Sender);
  if (item == nullptr)
    return;
  item->SetChecked(true);
  SpektrChart.LeftAxis().SetLogarithmic(item != LogMenuVertLin);
}

void TSpektrForm::LogMenuHorLinClick(ui::TObject* Sender) {
  auto* item = dynamic_cast<ui::TMenuItem*>(Sender);
  if (item == nullptr)
    return;
  item->SetChecked(true);
  SpektrChart.BottomAxis().SetLogarithmic(item != LogMenuHorLin);
}

void TSpektrForm::ShowSpektr(const TMeasRecord* rec) {
  if (rec == nullptr)
    return;
  {
    // Every added bar asks for a redraw; the chart is drawn once for the whole record instead.
    BatchedRedraw redraw(SpektrChart);
    Series1->Clear();
    const int bars = BarCount(rec->log2N);
    const double binWidth = rec->binWidthHz;
    for (int i = 0; i < bars; ++i)
      Series1->AddXY(i * binWidth, rec->spectrum[i]);
  }
  for (int k = 1; k <= kHarmonicCount; ++k) {
    const float percent = rec->shownHarmonics.value[HarmonicBlock::kPercentBase + k];
    SpektrStringGrid->SetCell(CellOf(k).valueCol, CellOf(k).row,
                              ui::FormatFixed(percent, 2) + " %");
  }
}

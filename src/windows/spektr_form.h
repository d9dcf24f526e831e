// The spectrum window: the amplitude spectrum of the shown record as bars over frequency, and the
// percentages of harmonics 1 to 40 in a grid below. Closing it only hides it.
#pragma once

#include "bar_series.h"
#include "chart.h"
#include "controls.h"
#include "form.h"
#include "meas_record.h"
#include "menu.h"
#include "text_controls.h"

class TSpektrForm : public ui::TForm {
 public:
  explicit TSpektrForm(ui::TComponent* Owner);
  ~TSpektrForm() override;

  // The chart, drawn in the control that fills the window above the grid.
  ui::TPaintControl* SpektrChartBox;
  chart::Chart SpektrChart;
  chart::BarSeries* Series1;
  ui::TStringGrid* SpektrStringGrid;

  ui::TPopupMenu* SpektrPopupMenu;
  ui::TMenuItem* N1;
  ui::TMenuItem* LogMenuVertLin;
  ui::TMenuItem* LogMenuVertLog;
  ui::TMenuItem* N2;
  ui::TMenuItem* LogMenuHorLin;
  ui::TMenuItem* LogMenuHorLog;

  void FormClose(ui::TObject* Sender, ui::TCloseAction& Action);
  void FormResize(ui::TObject* Sender);
  void LogMenuVertLinClick(ui::TObject* Sender);
  void LogMenuHorLinClick(ui::TObject* Sender);

  // Refills the bars and the percentage cells from rec, shown or hidden.
  void ShowSpektr(const TMeasRecord* rec);

  // Writes placement, visibility and axis modes to the settings file; the main window's close
  // handler calls it.
  void SaveSettings();

 private:
  void CreateChart();
  void CreateGrid();
  void CreatePopupMenu();
  ui::TMenuItem* MakeMenuItem(ui::TMenuItem* parent, const std::string& caption, int group);
  void RestoreSettings();
  void SetMenuN7Checked(bool checked);
};

extern TSpektrForm* SpektrForm;

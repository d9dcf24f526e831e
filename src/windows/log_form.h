// The log window: the RMS, DC, maximum and minimum of every live reading in kilovolts against the
// wall-clock time, four line series in one chart whose time axis follows the newest reading.
#pragma once

#include <cstddef>
#include <functional>

#include "chart.h"
#include "controls.h"
#include "dialogs.h"
#include "form.h"
#include "format.h"
#include "item_controls.h"
#include "line_series.h"
#include "meas_record.h"
#include "timer.h"

// Told once when memory for the next reading cannot be had.
inline constexpr char kLogFullText[] =
    "Журнал заполнен: не хватает памяти.\n"
    "Новые измерения в журнал не записываются.\n"
    "Чтобы продолжить запись, сохраните журнал, если он нужен, и нажмите «Очистить».";

class TLogForm : public ui::TForm {
 public:
  explicit TLogForm(ui::TComponent* Owner);
  ~TLogForm() override;

  ui::TPanel* Panel1;
  ui::TCheckBox* CheckBox1;
  ui::TCheckBox* CheckBox2;
  ui::TCheckBox* CheckBox3;
  ui::TCheckBox* CheckBox4;
  ui::TLabel* Label1;
  ui::TComboBox* ComboBox1;
  ui::TLabel* Label10;
  ui::TComboBox* ComboBox2;
  ui::TButton* Button2;
  ui::TButton* Button1;
  ui::TCheckBox* CursorCheckBox;
  // The cursor readout: captions on the left, the reading's time and values on the right.
  ui::TPanel* Panel2;
  ui::TLabel* Label11;
  ui::TLabel* Label12;
  ui::TLabel* Label2;
  ui::TLabel* Label6;
  ui::TLabel* Label3;
  ui::TLabel* Label7;
  ui::TLabel* Label4;
  ui::TLabel* Label8;
  ui::TLabel* Label5;
  ui::TLabel* Label9;

  // The chart, drawn in the control that fills the window below the panel. SeriesRMS is its
  // first series.
  ui::TPaintControl* LogChartBox;
  chart::Chart LogChart;
  chart::LineSeries* SeriesRMS;
  chart::LineSeries* SeriesDC;
  chart::LineSeries* SeriesMax;
  chart::LineSeries* SeriesMin;

  ui::TColorDialog* LogColorDialog;
  ui::TSaveDialog* SaveLogDialog;
  ui::TTimer* Timer1;
  // Shows the message of a full log once the reading that found it full has been handed back.
  ui::TTimer* LogFullTimer;

  // The wall clock the readings are stamped with; tests put their own in.
  std::function<ui::TDateTime()> Clock = ui::Now;

  // The reading under the cursor: set by the mouse over the chart, drawn as the cursor line. 0
  // stands for the first reading and for none.
  int LogCursorIndex = 0;

  void FormClose(ui::TObject* Sender, ui::TCloseAction& Action);
  void CheckBox1Click(ui::TObject* Sender);
  void CheckBox2Click(ui::TObject* Sender);
  void CheckBox3Click(ui::TObject* Sender);
  void CheckBox4Click(ui::TObject* Sender);
  void CheckBox1ContextPopup(ui::TObject* Sender, ui::TPoint MousePos, bool& Handled);
  void CheckBox2ContextPopup(ui::TObject* Sender, ui::TPoint MousePos, bool& Handled);
  void CheckBox3ContextPopup(ui::TObject* Sender, ui::TPoint MousePos, bool& Handled);
  void CheckBox4ContextPopup(ui::TObject* Sender, ui::TPoint MousePos, bool& Handled);
  void Button2Click(ui::TObject* Sender);
  void ComboBox1Change(ui::TObject* Sender);
  void ComboBox2Change(ui::TObject* Sender);
  void Timer1Timer(ui::TObject* Sender);
  void CursorCheckBoxClick(ui::TObject* Sender);
  // X and Y in the chart's pixels.
  void LogChartMouseMove(ui::TObject* Sender, int X, int Y);
  void SeriesDCAfterDrawValues(chart::Series& Sender);
  void LogChartEnter(ui::TObject* Sender);
  void LogChartExit(ui::TObject* Sender);
  void Button1Click(ui::TObject* Sender);
  void LogFullTimerTimer(ui::TObject* Sender);

  // Logs one reading at the current time and follows it with the time axis. When memory for it
  // cannot be had, the log keeps what it holds and takes no reading until " Очистить".
  void AddPoint(const TMeasRecord& rec);
  bool LogFull() const { return logFull_; }
  // The automatic vertical scale, from the extremes of SeriesMax.
  void AutoScale();

  // Writes placement, visibility, colours, shown series and both scales to section LogWindow;
  // the main window's close handler calls it.
  void WriteSettings();

 private:
  void CreatePanel();
  void CreateReadout();
  void CreateChart();
  void NameComponents();
  void ShowCursorReading(std::size_t index);
  void ReadSettings();
  ui::TCheckBox* MakeSeriesCheckBox(int top, const std::string& caption);
  void ShowSeries(ui::TCheckBox* box, chart::Series* series);
  void PickSeriesColor(ui::TCheckBox* box, chart::Series* series);
  void SetSeriesColor(ui::TCheckBox* box, chart::Series* series, ui::TColor color);
  void StopLogging();

  template <class T>
  T* Make(ui::TControl* parent) {
    T* control = new T(this);
    control->SetParent(parent);
    return control;
  }

  bool logFull_ = false;
};

extern TLogForm* LogForm;

// Logs the values of one live reading in the log window; called on the main thread from the
// connection thread's synchronised callback. Does nothing without a log window or a record.
void AddLogPoint(const TMeasRecord* rec);
// The log window's automatic vertical scale.
void LogAutoScale();

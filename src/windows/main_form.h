// The main window: the waveform chart, the six readouts, the signal-source, run-mode and scale
// controls, the menus, the status bar with its timer, and the service panel.
#pragma once

#include "application.h"
#include "chart.h"
#include "controls.h"
#include "dialogs.h"
#include "form.h"
#include "item_controls.h"
#include "line_series.h"
#include "meas_record.h"
#include "menu.h"
#include "text_controls.h"
#include "timer.h"

class TMForm : public ui::TForm {
 public:
  explicit TMForm(ui::TComponent* Owner);
  ~TMForm() override;

  // Top panel with the readouts and the controls.
  ui::TPanel* UpPanel;
  ui::TGroupBox* GroupBox1;
  ui::TLabel* Label1;
  ui::TLabel* LabelUrms;
  ui::TLabel* Label14;
  ui::TLabel* Label2;
  ui::TLabel* LabelUdc;
  ui::TLabel* Label15;
  ui::TGroupBox* GroupBox3;
  ui::TLabel* Label3;
  ui::TLabel* LabelUmax;
  ui::TLabel* Label4;
  ui::TLabel* LabelUmin;
  ui::TLabel* Label5;
  ui::TLabel* LabelKIS;
  ui::TLabel* Label6;
  ui::TLabel* LabelFreq;
  ui::TRadioGroup* ModeRadioGroup;
  ui::TComboBox* MemNumComboBox;
  ui::TRadioGroup* RadioGroup1;
  ui::TButton* Button1;
  ui::TLabel* Label7;
  ui::TComboBox* ComboBoxU;
  ui::TLabel* Label8;
  ui::TComboBox* ComboBoxTime;

  ui::TStatusBar* StatusBar;

  // Service panel: the calibration constants of both groups and the frame parameters.
  ui::TPanel* ServicePanel;
  ui::TGroupBox* GroupBoxKalibr0;
  ui::TGroupBox* GroupBox2;
  ui::TLabel* KalibrDC0;
  ui::TLabel* KalibrY00;
  ui::TLabel* KalibrY10;
  ui::TLabel* KalibrY20;
  ui::TLabel* KalibrY30;
  ui::TLabel* KalibrY40;
  ui::TLabel* KalibrX00;
  ui::TLabel* KalibrX10;
  ui::TLabel* KalibrX20;
  ui::TLabel* KalibrX30;
  ui::TLabel* KalibrX40;
  ui::TLabel* KalibrA00;
  ui::TLabel* KalibrA10;
  ui::TLabel* KalibrA20;
  ui::TLabel* KalibrA30;
  ui::TLabel* KalibrA40;
  ui::TLabel* KalibrDC1;
  ui::TLabel* KalibrY01;
  ui::TLabel* KalibrY11;
  ui::TLabel* KalibrY21;
  ui::TLabel* KalibrY31;
  ui::TLabel* KalibrY41;
  ui::TLabel* KalibrX01;
  ui::TLabel* KalibrX11;
  ui::TLabel* KalibrX21;
  ui::TLabel* KalibrX31;
  ui::TLabel* KalibrX41;
  ui::TLabel* KalibrA01;
  ui::TLabel* KalibrA11;
  ui::TLabel* KalibrA21;
  ui::TLabel* KalibrA31;
  ui::TLabel* KalibrA41;
  ui::TLabel* SerLabel1;
  ui::TLabel* SerLabel2;
  ui::TLabel* SerLabel3;
  ui::TLabel* Label10;
  ui::TLabel* SerLabel4;
  ui::TLabel* SerLabel5;
  ui::TLabel* SerLabel6;
  ui::TLabel* SerLabel7;
  ui::TCheckBox* CheckBox1;
  ui::TLabel* Label9;

  // The waveform chart, drawn in the control that fills the rest of the window.
  ui::TPaintControl* ChartSignalBox;
  chart::Chart ChartSignal;
  chart::LineSeries* Series1;
  ui::TLabel* LabelPause;

  ui::TMainMenu* MainMenu;
  ui::TMenuItem* N1;
  ui::TMenuItem* N11;
  ui::TMenuItem* N12;
  ui::TMenuItem* N3;
  ui::TMenuItem* N2;
  ui::TMenuItem* N6;
  ui::TMenuItem* N7;
  ui::TMenuItem* N8;
  ui::TMenuItem* N4;
  ui::TMenuItem* N5;
  ui::TMenuItem* N9;
  ui::TMenuItem* N10;
  ui::TMenuItem* ft2321;

  ui::TTimer* UsbTimer;
  ui::TOpenDialog* OpenDialog;
  ui::TSaveDialog* SaveDialog;

  // Calibration label of element i (0 to 4) of field 'Y', 'X' or 'A' of group g, or the DC label
  // of group g for field 'D'; nullptr for anything else.
  ui::TLabel* KalibrLabel(char field, int i, int g) const;

  void FormCreate(ui::TObject* Sender);
  void FormClose(ui::TObject* Sender, ui::TCloseAction& Action);
  void UsbTimerTimer(ui::TObject* Sender);
  void N2Click(ui::TObject* Sender);
  void N5Click(ui::TObject* Sender);
  void N7Click(ui::TObject* Sender);
  void N8Click(ui::TObject* Sender);
  void N10Click(ui::TObject* Sender);
  void N11Click(ui::TObject* Sender);
  void N12Click(ui::TObject* Sender);
  void ft2321Click(ui::TObject* Sender);
  void ModeRadioGroupClick(ui::TObject* Sender);
  void RadioGroup1Click(ui::TObject* Sender);
  void Button1Click(ui::TObject* Sender);
  void ComboBoxUChange(ui::TObject* Sender);
  void ComboBoxTimeChange(ui::TObject* Sender);
  void CheckBox1Click(ui::TObject* Sender);

  // The display of one record.
  void AutoScaleU(const TMeasRecord* rec);
  void ShowMeasRecord(const TMeasRecord* rec);

 private:
  void CreateReadouts();
  void NameComponents();
  void CreateControls();
  void CreateServicePanel();
  void CreateChart();
  void CreateMenu();
  void ShowWaveform(const TMeasRecord& rec);
  void ShowServiceValues(const TMeasRecord& rec);

  // Creates a control owned by the form inside parent.
  template <class T>
  T* Make(ui::TControl* parent) {
    T* control = new T(this);
    control->SetParent(parent);
    return control;
  }
  ui::TLabel* MakeLabel(ui::TControl* parent, int left, int top, const std::string& caption);
  ui::TMenuItem* MakeMenuItem(ui::TMenuItem* parent, const std::string& caption);

  // Indexed [g][i] for Y, X and A.
  ui::TLabel* kalibrY_[2][5];
  ui::TLabel* kalibrX_[2][5];
  ui::TLabel* kalibrA_[2][5];
};

extern TMForm* MForm;

// The scale value (half the vertical range) for a pair of extreme values: the smallest of 0.5, 1,
// 2.5, 5 ... 500 not below the larger magnitude, 1000 above 500.
float GetScaleStep(float a, float b);

// Ticks of the status timer while the instrument was not connected; never reset.
extern int UsbBlinkCounter;

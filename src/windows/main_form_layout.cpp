// The main window's components as designed: places, sizes, fonts, texts, items, the menu and the
// binding of every control to its handler.
#include <string>
#include <utility>

#include "chart_host.h"
#include "main_form.h"

namespace {

using namespace ui;

// Short-cut key codes of the File menu.
constexpr TShortCut kCtrlO = scCtrl | 'O';
constexpr TShortCut kCtrlS = scCtrl | 'S';

TFont ReadoutFont(int height) {
  TFont font;
  font.name = "Lucida Console";
  font.height = height;
  font.bold = true;
  font.charset = kCyrillicCharset;
  return font;
}

}  // namespace

TMForm::TMForm(TComponent* Owner) : TForm(Owner) {
  SetBounds(100, 100, 973, 512);
  SetMinSize(400, 300);

  UpPanel = Make<TPanel>(this);
  UpPanel->SetHeight(113);
  UpPanel->SetAlign(TAlign::alTop);

  StatusBar = Make<TStatusBar>(this);
  StatusBar->SetHeight(19);
  StatusBar->SetAlign(TAlign::alBottom);
  StatusBar->AddPanel(50);

  ServicePanel = Make<TPanel>(this);
  ServicePanel->SetWidth(170);
  ServicePanel->SetAlign(TAlign::alRight);
  ServicePanel->SetVisible(false);

  CreateReadouts();
  CreateControls();
  CreateServicePanel();
  CreateChart();
  CreateMenu();

  UsbTimer = new TTimer(this);
  UsbTimer->SetInterval(500);
  UsbTimer->OnTimer = Handler(this, &TMForm::UsbTimerTimer);

  OpenDialog = new TOpenDialog(this);
  OpenDialog->defaultExt = "VRX470";
  OpenDialog->filter = "Файлы VRX-470|*.VRX470";
  SaveDialog = new TSaveDialog(this);
  SaveDialog->defaultExt = "VRX470";
  SaveDialog->filter = "Файлы VRX470|*.VRX470";

  NameComponents();
  OnCreate = Handler(this, &TMForm::FormCreate);
  OnClose = Handler(this, &TMForm::FormClose);
}

TMForm::~TMForm() {
  UnhostChart(*ChartSignalBox, ChartSignal);
}

void TMForm::NameComponents() {
  // The designed names, by which a test driver finds the windows.
#define NAMED(component) \
  { component, #component }
  const std::pair<TComponent*, const char*> named[] = {NAMED(UpPanel),
                                                       NAMED(GroupBox1),
                                                       NAMED(Label1),
                                                       NAMED(LabelUrms),
                                                       NAMED(Label14),
                                                       NAMED(Label2),
                                                       NAMED(LabelUdc),
                                                       NAMED(Label15),
                                                       NAMED(GroupBox3),
                                                       NAMED(Label3),
                                                       NAMED(LabelUmax),
                                                       NAMED(Label4),
                                                       NAMED(LabelUmin),
                                                       NAMED(Label5),
                                                       NAMED(LabelKIS),
                                                       NAMED(Label6),
                                                       NAMED(LabelFreq),
                                                       NAMED(ModeRadioGroup),
                                                       NAMED(MemNumComboBox),
                                                       NAMED(RadioGroup1),
                                                       NAMED(Button1),
                                                       NAMED(Label7),
                                                       NAMED(ComboBoxU),
                                                       NAMED(Label8),
                                                       NAMED(ComboBoxTime),
                                                       NAMED(StatusBar),
                                                       NAMED(ServicePanel),
                                                       NAMED(GroupBoxKalibr0),
                                                       NAMED(GroupBox2),
                                                       NAMED(KalibrDC0),
                                                       NAMED(KalibrY00),
                                                       NAMED(KalibrY10),
                                                       NAMED(KalibrY20),
                                                       NAMED(KalibrY30),
                                                       NAMED(KalibrY40),
                                                       NAMED(KalibrX00),
                                                       NAMED(KalibrX10),
                                                       NAMED(KalibrX20),
                                                       NAMED(KalibrX30),
                                                       NAMED(KalibrX40),
                                                       NAMED(KalibrA00),
                                                       NAMED(KalibrA10),
                                                       NAMED(KalibrA20),
                                                       NAMED(KalibrA30),
                                                       NAMED(KalibrA40),
                                                       NAMED(KalibrDC1),
                                                       NAMED(KalibrY01),
                                                       NAMED(KalibrY11),
                                                       NAMED(KalibrY21),
                                                       NAMED(KalibrY31),
                                                       NAMED(KalibrY41),
                                                       NAMED(KalibrX01),
                                                       NAMED(KalibrX11),
                                                       NAMED(KalibrX21),
                                                       NAMED(KalibrX31),
                                                       NAMED(KalibrX41),
                                                       NAMED(KalibrA01),
                                                       NAMED(KalibrA11),
                                                       NAMED(KalibrA21),
                                                       NAMED(KalibrA31),
                                                       NAMED(KalibrA41),
                                                       NAMED(SerLabel1),
                                                       NAMED(SerLabel2),
                                                       NAMED(SerLabel3),
                                                       NAMED(Label10),
                                                       NAMED(SerLabel4),
                                                       NAMED(SerLabel5),
                                                       NAMED(SerLabel6),
                                                       NAMED(SerLabel7),
                                                       NAMED(CheckBox1),
                                                       NAMED(Label9),

                                                       NAMED(LabelPause),
                                                       NAMED(MainMenu),
                                                       NAMED(N1),
                                                       NAMED(N11),
                                                       NAMED(N12),
                                                       NAMED(N3),
                                                       NAMED(N2),
                                                       NAMED(N6),
                                                       NAMED(N7),
                                                       NAMED(N8),
                                                       NAMED(N4),
                                                       NAMED(N5),
                                                       NAMED(N9),
                                                       NAMED(N10),
                                                       NAMED(ft2321),
                                                       NAMED(UsbTimer),
                                                       NAMED(OpenDialog),
                                                       NAMED(SaveDialog)};
#undef NAMED
  for (const auto& [component, name] : named)
    component->SetName(name);
  ChartSignalBox->SetName("ChartSignal");
  SetName("MForm");
}

TLabel* TMForm::MakeLabel(TControl* parent, int left, int top, const std::string& caption) {
  TLabel* label = Make<TLabel>(parent);
  label->SetBounds(left, top, label->Width(), label->Height());
  label->SetCaption(caption);
  return label;
}

TMenuItem* TMForm::MakeMenuItem(TMenuItem* parent, const std::string& caption) {
  TMenuItem* item = new TMenuItem(this);
  item->SetCaption(caption);
  parent->Add(item);
  return item;
}

void TMForm::CreateReadouts() {
  GroupBox1 = Make<TGroupBox>(UpPanel);
  GroupBox1->SetBounds(8, 8, 289, 97);
  GroupBox3 = Make<TGroupBox>(UpPanel);
  GroupBox3->SetBounds(304, 8, 193, 97);

  const TFont large = ReadoutFont(32);
  const TFont small = ReadoutFont(16);
  struct Designed {
    TLabel** label;
    TGroupBox* box;
    int left, top, width, height;
    const char* text;
    // Value labels: right-aligned; sized to the text with the right edge kept, or fixed.
    bool value;
    bool autoSize;
  };
  const Designed designed[] = {
      {&Label1, GroupBox1, 8, 16, 80, 32, "Urms", false, true},
      {&LabelUrms, GroupBox1, 153, 16, 80, 32, "0.00", true, true},
      {&Label14, GroupBox1, 238, 16, 40, 32, "кВ", false, true},
      {&Label2, GroupBox1, 8, 56, 60, 32, "Udc", false, true},
      {&LabelUdc, GroupBox1, 153, 56, 80, 32, "0.00", true, true},
      {&Label15, GroupBox1, 238, 56, 40, 32, "кВ", false, true},
      {&Label3, GroupBox3, 8, 12, 44, 16, "Umax", false, true},
      {&LabelUmax, GroupBox3, 84, 12, 105, 20, "0.00 кВ", true, false},
      {&Label4, GroupBox3, 8, 32, 44, 16, "Umin", false, true},
      {&LabelUmin, GroupBox3, 84, 32, 105, 20, "0.00 кВ", true, false},
      {&Label5, GroupBox3, 8, 52, 33, 16, "КИС", false, true},
      {&LabelKIS, GroupBox3, 84, 52, 105, 20, "0.00 %", true, false},
      {&Label6, GroupBox3, 8, 72, 77, 16, "Частота", false, true},
      {&LabelFreq, GroupBox3, 84, 72, 105, 20, "0.00 Гц", true, false},
  };
  for (const Designed& d : designed) {
    TLabel* label = Make<TLabel>(d.box);
    label->SetAutoSize(d.autoSize);
    if (d.value)
      label->SetAlignment(TAlignment::taRightJustify);
    label->SetBounds(d.left, d.top, d.width, d.height);
    label->SetFont(d.box == GroupBox1 ? large : small);
    label->SetCaption(d.text);
    *d.label = label;
  }
}

void TMForm::CreateControls() {
  // Beside the item "Память прибора", over the source group: made before the group, so that it
  // lies above it and the group's painting leaves it alone.
  MemNumComboBox = Make<TComboBox>(UpPanel);
  MemNumComboBox->SetBounds(632, 48, 49, 21);
  std::vector<std::string> slots;
  for (int slot = 1; slot <= kMemorySlots; ++slot)
    slots.push_back(std::to_string(slot));
  MemNumComboBox->SetItems(slots);
  MemNumComboBox->SetItemIndex(0);

  ModeRadioGroup = Make<TRadioGroup>(UpPanel);
  ModeRadioGroup->SetBounds(504, 8, 185, 97);
  ModeRadioGroup->SetCaption("Источник сигнала");
  ModeRadioGroup->SetItems({"Сигнал", "Память прибора", "Файл"});
  ModeRadioGroup->SetItemIndex(0);
  ModeRadioGroup->OnClick = Handler(this, &TMForm::ModeRadioGroupClick);
  // Tab visits the source group before the slot box that lies on it.
  ModeRadioGroup->SetTabOrder(MemNumComboBox->TabOrder());

  RadioGroup1 = Make<TRadioGroup>(UpPanel);
  RadioGroup1->SetBounds(696, 8, 129, 65);
  RadioGroup1->SetCaption("Режим работы");
  RadioGroup1->SetItems({"авто", "однократный"});
  RadioGroup1->SetItemIndex(0);
  RadioGroup1->OnClick = Handler(this, &TMForm::RadioGroup1Click);

  Button1 = Make<TButton>(UpPanel);
  Button1->SetBounds(696, 80, 129, 25);
  Button1->SetCaption("Пуск/Пауза");
  Button1->OnClick = Handler(this, &TMForm::Button1Click);

  Label7 = MakeLabel(UpPanel, 832, 8, "Масштаб по вертикали");
  ComboBoxU = Make<TComboBox>(UpPanel);
  ComboBoxU->SetBounds(832, 24, 129, 21);
  ComboBoxU->SetItems({"авто", "0,1 кВ/дел", "0,2 кВ/дел", "0,5 кВ/дел", "1 кВ/дел", "2 кВ/дел",
                       "5 кВ/дел", "10 кВ/дел", "20 кВ/дел", "50 кВ/дел"});
  ComboBoxU->OnChange = Handler(this, &TMForm::ComboBoxUChange);

  Label8 = MakeLabel(UpPanel, 832, 56, "Масштаб по горизонтали");
  ComboBoxTime = Make<TComboBox>(UpPanel);
  ComboBoxTime->SetBounds(832, 72, 129, 21);
  ComboBoxTime->SetItems({"1 мс/дел", "2 мс/дел", "5 мс/дел", "10 мс/дел", "20 мс/дел", "50 мс/дел",
                          "100 мс/дел", "200 мс/дел"});
  ComboBoxTime->OnChange = Handler(this, &TMForm::ComboBoxTimeChange);
}

void TMForm::CreateServicePanel() {
  GroupBoxKalibr0 = Make<TGroupBox>(ServicePanel);
  GroupBoxKalibr0->SetBounds(8, 8, 153, 113);
  GroupBoxKalibr0->SetCaption("Калибр. константы 0");
  GroupBox2 = Make<TGroupBox>(ServicePanel);
  GroupBox2->SetBounds(8, 128, 153, 113);
  GroupBox2->SetCaption("Калибр. константы 1");

  TGroupBox* boxes[2] = {GroupBoxKalibr0, GroupBox2};
  auto grid = [this](TGroupBox* box, int left, int top, const std::string& text) {
    TLabel* label = Make<TLabel>(box);
    label->SetAutoSize(false);
    label->SetAlignment(TAlignment::taCenter);
    label->SetBounds(left, top, 45, 13);
    label->SetCaption(text);
    return label;
  };
  TLabel** dc[2] = {&KalibrDC0, &KalibrDC1};
  for (int g = 0; g < 2; ++g) {
    *dc[g] = grid(boxes[g], 104, 16, "DC" + std::to_string(g));
    for (int i = 0; i < 5; ++i) {
      const int top = 32 + 16 * i;
      const std::string row = std::to_string(i);
      kalibrY_[g][i] = grid(boxes[g], 8, top, "Y" + row);
      kalibrX_[g][i] = grid(boxes[g], 56, top, "X" + row);
      kalibrA_[g][i] = grid(boxes[g], 104, top, "A" + row);
    }
  }
  TLabel** named[2][3][5] = {{{&KalibrY00, &KalibrY10, &KalibrY20, &KalibrY30, &KalibrY40},
                              {&KalibrX00, &KalibrX10, &KalibrX20, &KalibrX30, &KalibrX40},
                              {&KalibrA00, &KalibrA10, &KalibrA20, &KalibrA30, &KalibrA40}},
                             {{&KalibrY01, &KalibrY11, &KalibrY21, &KalibrY31, &KalibrY41},
                              {&KalibrX01, &KalibrX11, &KalibrX21, &KalibrX31, &KalibrX41},
                              {&KalibrA01, &KalibrA11, &KalibrA21, &KalibrA31, &KalibrA41}}};
  for (int g = 0; g < 2; ++g) {
    for (int i = 0; i < 5; ++i) {
      *named[g][0][i] = kalibrY_[g][i];
      *named[g][1][i] = kalibrX_[g][i];
      *named[g][2][i] = kalibrA_[g][i];
    }
  }

  SerLabel1 = MakeLabel(ServicePanel, 8, 248, "Период измер.");
  SerLabel4 = MakeLabel(ServicePanel, 104, 248, "SerLabel4");
  SerLabel2 = MakeLabel(ServicePanel, 8, 264, "Сдвиг частоты");
  SerLabel5 = MakeLabel(ServicePanel, 104, 264, "SerLabel5");
  SerLabel3 = MakeLabel(ServicePanel, 8, 280, "Смещение нуля");
  SerLabel6 = MakeLabel(ServicePanel, 104, 280, "SerLabel6");
  Label10 = MakeLabel(ServicePanel, 8, 296, "Предел");
  SerLabel7 = MakeLabel(ServicePanel, 104, 296, "SerLabel7");

  CheckBox1 = Make<TCheckBox>(ServicePanel);
  CheckBox1->SetBounds(8, 312, 145, 17);
  CheckBox1->SetCaption("Показывать точки");
  CheckBox1->OnClick = Handler(this, &TMForm::CheckBox1Click);

  Label9 = MakeLabel(ServicePanel, 112, 328, "Label9");
}

void TMForm::CreateChart() {
  ChartSignalBox = Make<TPaintControl>(this);
  ChartSignalBox->SetAlign(TAlign::alClient);
  HostChart(*ChartSignalBox, ChartSignal);

  // Both axes keep the ranges the program gives them.
  for (chart::Axis* axis : {&ChartSignal.BottomAxis(), &ChartSignal.LeftAxis()}) {
    axis->SetAutomatic(false);
    axis->SetAutomaticMinimum(false);
    axis->SetAutomaticMaximum(false);
  }
  ChartSignal.BottomAxis().SetMinMax(0, 100);
  ChartSignal.LeftAxis().SetMinMax(34, 347);

  Series1 = &ChartSignal.AddSeries<chart::LineSeries>();
  Series1->SetTitle("Signal");
  Series1->SetColor(chart::kRed);
  Series1->SetLineWidth(2);
  Series1->SetPointerSize(2);
  Series1->SetPointerColor(chart::kBlack);
  Series1->SetPointerVisible(false);

  LabelPause = Make<TLabel>(ChartSignalBox);
  LabelPause->SetTransparent(true);
  TFont pause;
  pause.height = 16;
  pause.bold = true;
  pause.color = clRed;
  LabelPause->SetFont(pause);
  LabelPause->SetBounds(56, 32, 0, 0);
  LabelPause->SetCaption("Пауза");
  LabelPause->SetVisible(false);
}

void TMForm::CreateMenu() {
  MainMenu = new TMainMenu(this);
  TMenuItem* top = MainMenu->Items();

  N1 = MakeMenuItem(top, "Файл");
  N11 = MakeMenuItem(N1, "Открыть");
  N11->SetShortCut(kCtrlO);
  N11->OnClick = Handler(this, &TMForm::N11Click);
  N12 = MakeMenuItem(N1, "Сохранить");
  N12->SetShortCut(kCtrlS);
  N12->OnClick = Handler(this, &TMForm::N12Click);
  N3 = MakeMenuItem(N1, "-");
  N2 = MakeMenuItem(N1, "Выход");
  N2->OnClick = Handler(this, &TMForm::N2Click);

  N6 = MakeMenuItem(top, "Вид");
  N7 = MakeMenuItem(N6, "Спектр");
  N7->OnClick = Handler(this, &TMForm::N7Click);
  N8 = MakeMenuItem(N6, "Журнал");
  N8->OnClick = Handler(this, &TMForm::N8Click);

  N4 = MakeMenuItem(top, "Помощь");
  N5 = MakeMenuItem(N4, "О программе");
  N5->OnClick = Handler(this, &TMForm::N5Click);

  // The utilities are for service mode only; start-up shows them there.
  N9 = MakeMenuItem(top, "Утилиты");
  N9->SetVisible(false);
  N10 = MakeMenuItem(N9, "Обновить ПО");
  N10->OnClick = Handler(this, &TMForm::N10Click);
  ft2321 = MakeMenuItem(N9, "Вшить идентификатор FT232");
  ft2321->OnClick = Handler(this, &TMForm::ft2321Click);

  SetMenu(MainMenu);
}

TLabel* TMForm::KalibrLabel(char field, int i, int g) const {
  if (g < 0 || g > 1)
    return nullptr;
  if (field == 'D')
    return g == 0 ? KalibrDC0 : KalibrDC1;
  if (i < 0 || i > 4)
    return nullptr;
  switch (field) {
    case 'Y':
      return kalibrY_[g][i];
    case 'X':
      return kalibrX_[g][i];
    case 'A':
      return kalibrA_[g][i];
    default:
      return nullptr;
  }
}

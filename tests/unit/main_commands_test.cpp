// The main window's commands on the component model: status timer, signal source, run mode,
// scales, point display, view and help menus, record files through the dialog hooks; start-up
// and close with a real settings file in a temporary application-data folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "about_form.h"
#include "command_line.h"
#include "connection_thread.h"
#include "folders.h"
#include "format.h"
#include "ft_transport.h"
#include "log_form.h"
#include "main_form.h"
#include "records.h"
#include "settings.h"
#include "spektr_form.h"
#include "temp_dir.h"
#include "window_rect.h"
#include "write_budget.h"

namespace {

namespace fs = std::filesystem;

struct Box {
  ui::TForm* owner;
  std::string text;
  std::string caption;
  unsigned style;
};

std::vector<unsigned char> Bytes(const TMeasRecord& record) {
  const auto* p = reinterpret_cast<const unsigned char*>(&record);
  return {p, p + sizeof(TMeasRecord)};
}

// Every byte of the record set from a seed, with a length the display can show.
void FillPattern(TMeasRecord& record, unsigned seed) {
  auto* p = reinterpret_cast<unsigned char*>(&record);
  for (std::size_t i = 0; i < sizeof(TMeasRecord); ++i)
    p[i] = static_cast<unsigned char>((i * 7 + seed) & 0x7F);
  record.log2N = 12;
  record.range = 0;
  record.samplePeriodMs = 0.05f;
  record.triggerIndex = 0;
  record.uMax = 1.0f;
  record.uMin = -1.0f;
}

void ResetRecords() {
  std::memset(&SignalRecord, 0, sizeof SignalRecord);
  std::memset(&FileRecord, 0, sizeof FileRecord);
  for (TMeasRecord& record : MemoryRecords)
    std::memset(&record, 0, sizeof record);
  SignalRecord.log2N = 12;
  FileRecord.log2N = 12;
  for (TMeasRecord& record : MemoryRecords)
    record.log2N = 14;
}

class MainCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::Locale locale;
    locale.decimalSeparator = ".";
    ui::SetUserLocale(locale);
    ResetRecords();
    SourceMode = kSourceLive;
    RunMode = kRunContinuous;
    ServiceMode = 0;
    UsbConnected = 0;
    UsbBlinkCounter = 0;
    IniFileName = temp.File("test.ini");
    ui::SetMessageBoxHook([this](ui::TForm* owner, const std::string& text,
                                 const std::string& caption, unsigned style) {
      boxes.push_back({owner, text, caption, style});
      return ui::ID_OK_ANSWER;
    });
    ui::SetFileDialogHook([this](ui::TFileDialog& dialog) {
      ++dialogs;
      if (chosenFile.empty())
        return false;
      dialog.fileName = chosenFile;
      return true;
    });
    MForm = new TMForm(nullptr);
  }
  void TearDown() override {
    delete LogForm;
    LogForm = nullptr;
    delete SpektrForm;
    SpektrForm = nullptr;
    delete MForm;
    MForm = nullptr;
    ui::SetMessageBoxHook(nullptr);
    ui::SetFileDialogHook(nullptr);
    ui::SetModalHook(nullptr);
    ServiceMode = 0;
    SourceMode = kSourceLive;
    RunMode = kRunContinuous;
  }

  void MakeOtherWindows() {
    SpektrForm = new TSpektrForm(nullptr);
    LogForm = new TLogForm(nullptr);
  }

  std::string Shown() const { return MForm->LabelUrms->Caption(); }

  TempDir temp;
  std::vector<Box> boxes;
  int dialogs = 0;
  std::string chosenFile;
};

TEST_F(MainCommandsTest, StatusTimerBlinksWhileSearchingAndKeepsItsPhase) {
  struct Tick {
    uint8_t connected;
    const char* text;
  };
  const Tick ticks[] = {
      {0, "Поиск прибора"},    {0, ""}, {0, "Поиск прибора"}, {1, "Прибор подключен"},
      {1, "Прибор подключен"}, {0, ""}, {0, "Поиск прибора"}};
  int i = 0;
  for (const Tick& t : ticks) {
    UsbConnected = t.connected;
    MForm->UsbTimer->OnTimer(nullptr);
    EXPECT_EQ(MForm->StatusBar->PanelText(0), t.text) << "tick " << i++;
  }
  UsbConnected = 0;
}

TEST_F(MainCommandsTest, SourceItemsMapToSourceModesAndShowTheirRecord) {
  SignalRecord.uRms = 1.5f;
  MemoryRecords[4].uRms = 4.25f;
  MForm->MemNumComboBox->SelectByUser(4);

  MForm->ModeRadioGroup->SetItemIndex(1);
  EXPECT_EQ(SourceMode, kSourceMemory);
  EXPECT_EQ(Shown(), "4.25");

  MForm->ModeRadioGroup->SetItemIndex(0);
  EXPECT_EQ(SourceMode, kSourceLive);
  EXPECT_EQ(Shown(), "1.50");

  // "Файл" with the dialog cancelled: the file source all the same, the display kept.
  MForm->ModeRadioGroup->SetItemIndex(2);
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(SourceMode, kSourceFile);
  EXPECT_EQ(Shown(), "1.50");
  EXPECT_TRUE(boxes.empty());

  // Back to the signal, then "Файл" with a file chosen: loaded and shown once, one dialog.
  MForm->ModeRadioGroup->SetItemIndex(0);
  auto file = std::make_unique<TMeasRecord>();
  FillPattern(*file, 3);
  file->uRms = 7.75f;
  chosenFile = temp.File("a.VRX470");
  WriteWholeFile(chosenFile, Bytes(*file));
  MForm->ModeRadioGroup->SetItemIndex(2);
  EXPECT_EQ(dialogs, 2);
  EXPECT_EQ(SourceMode, kSourceFile);
  EXPECT_EQ(MForm->ModeRadioGroup->ItemIndex(), 2);
  EXPECT_EQ(Shown(), "7.75");
}

TEST_F(MainCommandsTest, RunModeTransitions) {
  enum Action { kButton, kAuto, kSingle };
  struct Row {
    uint8_t before;
    bool pauseBefore;
    Action action;
    uint8_t after;
    bool pauseAfter;
  };
  const Row rows[] = {
      {kRunContinuous, false, kButton, kRunPaused, true},
      {kRunContinuous, false, kSingle, kRunSingleWaiting, false},
      {kRunPaused, true, kButton, kRunContinuous, false},
      {kRunPaused, true, kSingle, kRunSingleWaiting, true},
      {kRunOneRequested, false, kButton, kRunOneRequested, false},
      {kRunOneRequested, true, kAuto, kRunContinuous, true},
      {kRunSingleWaiting, false, kButton, kRunOneRequested, false},
      {kRunSingleWaiting, true, kButton, kRunOneRequested, true},
      {kRunSingleWaiting, true, kAuto, kRunContinuous, true},
  };
  for (const Row& r : rows) {
    // The group shows "однократный" in states 2 and 3, "авто" otherwise.
    MForm->RadioGroup1->SetItemIndex(r.before >= kRunOneRequested ? 1 : 0);
    RunMode = r.before;
    MForm->LabelPause->SetVisible(r.pauseBefore);
    switch (r.action) {
      case kButton:
        MForm->Button1->Click();
        break;
      case kAuto:
        MForm->RadioGroup1->SetItemIndex(0);
        break;
      case kSingle:
        MForm->RadioGroup1->SetItemIndex(1);
        break;
    }
    EXPECT_EQ(RunMode, r.after) << int(r.before) << " action " << r.action;
    EXPECT_EQ(MForm->LabelPause->Visible(), r.pauseAfter) << int(r.before) << " " << r.action;
  }
}

TEST_F(MainCommandsTest, VerticalScaleItems) {
  struct Row {
    int item;
    double min, max, increment;
  };
  const Row rows[] = {{1, -0.5, 0.5, 0.1}, {2, -1, 1, 0.2},    {3, -2.5, 2.5, 0.5},
                      {4, -5, 5, 1},       {5, -10, 10, 2},    {6, -25, 25, 5},
                      {7, -50, 50, 10},    {8, -100, 100, 20}, {9, -250, 250, 50},
                      {1, -0.5, 0.5, 0.1}};
  const chart::Axis& axis = MForm->ChartSignal.LeftAxis();
  for (const Row& r : rows) {
    MForm->ComboBoxU->SelectByUser(r.item);
    EXPECT_DOUBLE_EQ(axis.Minimum(), r.min) << r.item;
    EXPECT_DOUBLE_EQ(axis.Maximum(), r.max) << r.item;
    EXPECT_DOUBLE_EQ(axis.Increment(), r.increment) << r.item;
    EXPECT_FALSE(axis.Automatic());
  }
}

TEST_F(MainCommandsTest, HorizontalScaleItemsIncludingAShrinkFromTheWidest) {
  struct Row {
    int item;
    double max, increment;
  };
  const Row rows[] = {{7, 2000, 200}, {0, 10, 1},   {1, 20, 2},     {2, 50, 5},     {3, 100, 10},
                      {4, 200, 20},   {5, 500, 50}, {6, 1000, 100}, {7, 2000, 200}, {0, 10, 1}};
  const chart::Axis& axis = MForm->ChartSignal.BottomAxis();
  for (const Row& r : rows) {
    MForm->ComboBoxTime->SelectByUser(r.item);
    EXPECT_DOUBLE_EQ(axis.Minimum(), 0) << r.item;
    EXPECT_DOUBLE_EQ(axis.Maximum(), r.max) << r.item;
    EXPECT_DOUBLE_EQ(axis.Increment(), r.increment) << r.item;
  }
}

TEST_F(MainCommandsTest, ScaleIndexesOutsideTheListsLeaveTheDesignedRanges) {
  const chart::Axis& left = MForm->ChartSignal.LeftAxis();
  const chart::Axis& bottom = MForm->ChartSignal.BottomAxis();
  for (int index : {12, -1, 10}) {
    MForm->ComboBoxU->SetItemIndex(index);
    MForm->ComboBoxUChange(MForm->ComboBoxU);
    EXPECT_EQ(MForm->ComboBoxU->ItemIndex(), -1);
    EXPECT_DOUBLE_EQ(left.Minimum(), 34);
    EXPECT_DOUBLE_EQ(left.Maximum(), 347);
    MForm->ComboBoxTime->SetItemIndex(index);
    MForm->ComboBoxTimeChange(MForm->ComboBoxTime);
    EXPECT_DOUBLE_EQ(bottom.Minimum(), 0);
    EXPECT_DOUBLE_EQ(bottom.Maximum(), 100);
  }
}

TEST_F(MainCommandsTest, AutoScaleFollowsTheCurrentSource) {
  struct Row {
    uint8_t source;
    double half;
  };
  SignalRecord.uMax = 0.3f;
  FileRecord.uMax = 7.0f;
  MemoryRecords[2].uMin = -40.0f;
  MForm->MemNumComboBox->SelectByUser(2);
  const Row rows[] = {{kSourceLive, 0.5}, {kSourceFile, 10}, {kSourceMemory, 50}};
  for (const Row& r : rows) {
    SourceMode = r.source;
    MForm->ComboBoxU->SetItemIndex(-1);
    MForm->ComboBoxU->SelectByUser(0);
    EXPECT_DOUBLE_EQ(MForm->ChartSignal.LeftAxis().Maximum(), r.half) << int(r.source);
    EXPECT_DOUBLE_EQ(MForm->ChartSignal.LeftAxis().Minimum(), -r.half) << int(r.source);
  }
}

TEST_F(MainCommandsTest, ShowPointsOnlyInServiceMode) {
  struct Row {
    uint8_t service;
    bool tick;
    bool pointer, line;
  };
  // The box runs its handler only when its state changes.
  const Row rows[] = {{0, true, false, true},
                      {0, false, false, true},
                      {1, true, true, false},
                      {1, false, false, true}};
  for (const Row& r : rows) {
    ServiceMode = r.service;
    MForm->CheckBox1->SetChecked(r.tick);
    EXPECT_EQ(MForm->Series1->PointerVisible(), r.pointer) << int(r.service) << r.tick;
    EXPECT_EQ(MForm->Series1->LineVisible(), r.line) << int(r.service) << r.tick;
  }
}

TEST_F(MainCommandsTest, ViewCommandsToggleTheirWindows) {
  MakeOtherWindows();
  struct Row {
    ui::TMenuItem* item;
    ui::TForm* window;
  };
  for (const Row& r : {Row{MForm->N7, SpektrForm}, Row{MForm->N8, LogForm}}) {
    ASSERT_FALSE(r.window->Visible());
    r.item->Click();
    EXPECT_TRUE(r.item->Checked());
    EXPECT_TRUE(r.window->Visible());
    r.item->Click();
    EXPECT_FALSE(r.item->Checked());
    EXPECT_FALSE(r.window->Visible());
  }
}

TEST_F(MainCommandsTest, SaveAndOpenRoundTripByteForByte) {
  FillPattern(SignalRecord, 11);
  const std::vector<unsigned char> saved = Bytes(SignalRecord);
  chosenFile = temp.File("live.VRX470");
  MForm->N12->Click();
  EXPECT_EQ(ReadWholeFile(chosenFile), saved);

  MForm->N11->Click();
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(Bytes(FileRecord), saved);
  EXPECT_EQ(SourceMode, kSourceFile);
  EXPECT_EQ(MForm->ModeRadioGroup->ItemIndex(), 2);
  EXPECT_EQ(dialogs, 2);

  // A longer file is read from its first 140,696 bytes.
  std::vector<unsigned char> longer = saved;
  longer.push_back(0x55);
  WriteWholeFile(chosenFile, longer);
  std::memset(&FileRecord, 0, sizeof FileRecord);
  MForm->N11->Click();
  EXPECT_EQ(Bytes(FileRecord), saved);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(MainCommandsTest, OpenRefusesAShortFileAndChangesNothing) {
  auto good = std::make_unique<TMeasRecord>();
  FillPattern(*good, 5);
  std::vector<unsigned char> shorter = Bytes(*good);
  shorter.pop_back();
  chosenFile = temp.File("short.VRX470");
  WriteWholeFile(chosenFile, shorter);
  const std::vector<unsigned char> before = Bytes(FileRecord);

  MForm->N11->Click();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].owner, MForm);
  EXPECT_EQ(boxes[0].text, "Ошибка открытия файла!");
  EXPECT_EQ(boxes[0].caption, "Ошибка!");
  EXPECT_EQ(boxes[0].style, ui::MB_ERROR_ICON | ui::MB_OK_BUTTON);
  EXPECT_EQ(SourceMode, kSourceLive);
  EXPECT_EQ(MForm->ModeRadioGroup->ItemIndex(), 0);
  EXPECT_EQ(Bytes(FileRecord), before);

  // A missing file and a file that cannot be created give the same box.
  chosenFile = temp.File("missing.VRX470");
  MForm->N11->Click();
  chosenFile = temp.File("no-such-folder/x.VRX470");
  MForm->N12->Click();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[2].text, "Ошибка открытия файла!");

  // So does a save whose write comes up short (a full disk); the file keeps what was written.
  chosenFile = temp.File("cut.VRX470");
  {
    WriteBudget disk(1000);
    MForm->N12->Click();
  }
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[3].text, "Ошибка открытия файла!");
  EXPECT_EQ(boxes[3].caption, "Ошибка!");
  EXPECT_EQ(fs::file_size(chosenFile), 1000u);

  // A cancelled dialog is no error.
  chosenFile.clear();
  MForm->N11->Click();
  MForm->N12->Click();
  EXPECT_EQ(boxes.size(), 4u);
}

TEST_F(MainCommandsTest, SaveInMemoryModeWritesTheSelectedSlot) {
  for (int i = 0; i < kMemorySlots; ++i)
    FillPattern(MemoryRecords[i], static_cast<unsigned>(i));
  MForm->MemNumComboBox->SelectByUser(6);
  MForm->ModeRadioGroup->SetItemIndex(1);
  chosenFile = temp.File("slot7.VRX470");
  MForm->N12->Click();
  EXPECT_EQ(ReadWholeFile(chosenFile), Bytes(MemoryRecords[6]));
}

TEST_F(MainCommandsTest, AboutWindowIsModalAndDeletedAfterOk) {
  TAboutForm* seen = nullptr;
  ui::SetModalHook([&](ui::TForm& form) {
    seen = AboutForm;
    EXPECT_EQ(&form, AboutForm);
    EXPECT_EQ(form.Caption(), "О программе...");
    EXPECT_EQ(AboutForm->Label1->Caption(), "Киловольтмерт многопредельный");
    AboutForm->Button1->Click();
    EXPECT_NE(form.ModalResult(), ui::mrNone);
  });
  MForm->N5->Click();
  EXPECT_NE(seen, nullptr);
  EXPECT_EQ(AboutForm, nullptr);
}

TEST(MainWindowRectTest, RemainderRuleKeepsTheWindowWholeOnA1280x1024Screen) {
  struct Row {
    int32_t x, y, w, h;
    ui::TRect expected;
  };
  const Row rows[] = {
      {0, 0, 700, 400, {0, 0, 700, 400}},
      {-20, 10, 800, 600, {-20, 10, 780, 610}},
      // The rule's right edge 420 would fold it: moved left, whole.
      {1000, 100, 700, 400, {580, 100, 1280, 500}},
      // The rule's bottom 1500 lies below the screen: moved up, whole.
      {100, 900, 700, 600, {100, 424, 800, 1024}},
      // Taller than the screen: the screen's height, not the rule's 76.
      {100, 100, 700, 1100, {100, 0, 800, 1024}},
      {100, 100, -800, 400, {100, 100, 900, 500}},
      {1300, 1100, 700, 400, {20, 76, 720, 476}},
      {-1300, -30, 700, 400, {-20, -30, 680, 370}},
      {INT32_MIN, 0, INT32_MIN, INT32_MIN, {0, 0, 1280, 1024}},
      // Dragged partly off the right edge at its designed size.
      {400, 100, 973, 512, {307, 100, 1280, 612}},
      // Touching the right and bottom edges: where it was.
      {580, 324, 700, 700, {580, 324, 1280, 1024}},
      {0, 0, 1280, 1024, {0, 0, 1280, 1024}},
      {-20, 30, 1500, 1200, {0, 0, 1280, 1024}},
      // No size: its minimum, 400 x 300, still on the screen.
      {1100, 900, 0, 0, {880, 724, 1280, 1024}},
  };
  for (const Row& r : rows) {
    const ui::TRect got = MainWindowRect(r.x, r.y, r.w, r.h, {1280, 1024}, {400, 300});
    EXPECT_EQ(got.left, r.expected.left) << r.x << "," << r.y << "," << r.w << "," << r.h;
    EXPECT_EQ(got.top, r.expected.top) << r.x << "," << r.y << "," << r.w << "," << r.h;
    EXPECT_EQ(got.right, r.expected.right) << r.x << "," << r.y << "," << r.w << "," << r.h;
    EXPECT_EQ(got.bottom, r.expected.bottom) << r.x << "," << r.y << "," << r.w << "," << r.h;
  }
  // A screen that reports no size divides by nothing, and nothing is fitted to it.
  const ui::TRect unreduced = MainWindowRect(5, 6, 700, 400, {0, 0}, {400, 300});
  EXPECT_EQ(unreduced.right, 705);
  EXPECT_EQ(unreduced.bottom, 406);
}

// A file of the user's named like the traffic log.
const std::vector<unsigned char> kUsersLog = {'m', 'i', 'n', 'e', '\r', '\n'};

// Start-up and close against a temporary application-data folder. The connection thread finds
// no driver natively: it reports that and ends, and each test waits for it.
class StartUpTest : public MainCommandsTest {
 protected:
  void SetUp() override {
    MainCommandsTest::SetUp();
    appData = temp.File("appdata");
    fs::create_directories(appData);
    setenv("VRX_APPDATA", appData.c_str(), 1);
    folder = appData + "/VRX-470";
    ini = folder + "/VRX-470.ini";
  }
  void TearDown() override {
    FinishThread();
    os::SetProgramArguments({});
    unsetenv("VRX_APPDATA");
    MainCommandsTest::TearDown();
  }

  void Start() {
    MForm->DoCreate();
    FinishThread();
  }
  void FinishThread() {
    if (FtConnectThread == nullptr)
      return;
    FtConnectThread->WaitFor();
    delete FtConnectThread;
    FtConnectThread = nullptr;
  }
  void WriteIni(const std::string& text) {
    fs::create_directories(folder);
    std::ofstream(ini) << text;
  }
  // Every "section/key=value" of the settings file, in file order.
  std::vector<std::string> IniLines() {
    std::ifstream in(ini);
    std::vector<std::string> lines;
    std::string section, line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r')
        line.pop_back();
      if (line.empty())
        continue;
      if (line.front() == '[')
        section = line.substr(1, line.find(']') - 1);
      else
        lines.push_back(section + "/" + line);
    }
    return lines;
  }

  std::string appData, folder, ini;
};

TEST_F(StartUpTest, FirstStartCreatesTheFolderAndAnEmptyFileAndUsesTheDefaults) {
  Start();
  EXPECT_TRUE(fs::is_directory(folder));
  ASSERT_TRUE(fs::is_regular_file(ini));
  EXPECT_EQ(fs::file_size(ini), 0u);
  EXPECT_EQ(IniFileName, ini);
  EXPECT_EQ(fs::canonical(os::CurrentFolder()), fs::canonical(folder));
  EXPECT_EQ(MForm->Caption(), "Киловольтметр многопредельный цифровой VRX-470");
  EXPECT_TRUE(MForm->DoubleBuffered());

  ui::WindowPlacement placement;
  MForm->GetPlacement(placement);
  EXPECT_EQ(placement.normalPosition.left, 0);
  EXPECT_EQ(placement.normalPosition.top, 0);
  EXPECT_EQ(placement.normalPosition.right, 700);
  EXPECT_EQ(placement.normalPosition.bottom, 400);
  EXPECT_NE(placement.showCmd, ui::SW_SHOWMAXIMIZED_STATE);

  EXPECT_EQ(MForm->ComboBoxU->Text(), "авто");
  EXPECT_EQ(MForm->ComboBoxTime->Text(), "1 мс/дел");
  EXPECT_DOUBLE_EQ(MForm->ChartSignal.BottomAxis().Maximum(), 10);
  EXPECT_DOUBLE_EQ(MForm->ChartSignal.LeftAxis().Maximum(), 0.5);
  EXPECT_EQ(ServiceMode, 0);
  EXPECT_FALSE(MForm->ServicePanel->Visible());
  EXPECT_FALSE(MForm->N9->Visible());
  EXPECT_EQ(SourceMode, kSourceLive);
  EXPECT_EQ(SignalRecord.log2N, 12);
  EXPECT_EQ(MemoryRecords[14].log2N, 14);
  EXPECT_EQ(FileRecord.log2N, 12);

  // The thread found no driver natively and said so, owned by the main window.
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].owner, MForm);
  EXPECT_EQ(boxes[0].text, "Драйвер не найден!\nПереустановите драйвер устройства!");
  EXPECT_EQ(boxes[0].caption, "Внимание!");
  EXPECT_EQ(boxes[0].style, ui::MB_ERROR_ICON | ui::MB_OK_BUTTON);

  MakeOtherWindows();
  EXPECT_FALSE(SpektrForm->Visible());
  EXPECT_FALSE(LogForm->Visible());
}

TEST_F(StartUpTest, AnExistingFileIsKeptAndItsValuesRestored) {
  WriteIni(
      "[MainWindow]\nX=1300\nY=1100\nW=700\nH=400\nFullscreen=1\nMashtabIndexU=9\n"
      "MashtabIndexT=7\n[Programm]\nSM=1\n");
  const auto size = fs::file_size(ini);
  // The traffic log of an earlier run, and a file of the user's of that name in the folder the
  // program was started from.
  WriteWholeFile(folder + "/log.txt", {'O', 'U', 'T', '\n'});
  WriteWholeFile(temp.File("log.txt"), kUsersLog);
  Start();
  EXPECT_EQ(fs::file_size(ini), size);
  EXPECT_EQ(ReadWholeFile(folder + "/log.txt"), std::vector<unsigned char>{});
  EXPECT_EQ(ReadWholeFile(temp.File("log.txt")), kUsersLog);
  ui::WindowPlacement placement;
  MForm->GetPlacement(placement);
  EXPECT_EQ(placement.normalPosition.left, 20);
  EXPECT_EQ(placement.normalPosition.top, 76);
  EXPECT_EQ(placement.showCmd, ui::SW_SHOWMAXIMIZED_STATE);
  EXPECT_DOUBLE_EQ(MForm->ChartSignal.LeftAxis().Maximum(), 250);
  EXPECT_DOUBLE_EQ(MForm->ChartSignal.BottomAxis().Maximum(), 2000);
  EXPECT_EQ(ServiceMode, 1);
  EXPECT_TRUE(MForm->ServicePanel->Visible());
  EXPECT_TRUE(MForm->N9->Visible());
}

TEST_F(StartUpTest, ASettingsFolderThatCannotBeMadeLeavesTheStartFolderAlone) {
  // A file stands where the settings folder should be: no settings, and no traffic log.
  WriteWholeFile(folder, {'x'});
  WriteWholeFile(temp.File("log.txt"), kUsersLog);
  Start();
  EXPECT_EQ(ReadWholeFile(temp.File("log.txt")), kUsersLog);
  EXPECT_EQ(ReadWholeFile(folder), std::vector<unsigned char>{'x'});
  ui::WindowPlacement placement;
  MForm->GetPlacement(placement);
  EXPECT_EQ(placement.normalPosition.right, 700);
  EXPECT_EQ(placement.normalPosition.bottom, 400);
}

TEST_F(StartUpTest, CloseWritesThe29KeysInOrder) {
  Start();
  MakeOtherWindows();
  MForm->ComboBoxTime->SelectByUser(3);
  ui::TCloseAction action = ui::TCloseAction::caHide;
  MForm->FormClose(MForm, action);
  const std::vector<std::string> expected = {"MainWindow/X=0",
                                             "MainWindow/Y=0",
                                             "MainWindow/W=700",
                                             "MainWindow/H=400",
                                             "MainWindow/Fullscreen=0",
                                             "MainWindow/MashtabIndexU=0",
                                             "MainWindow/MashtabIndexT=3"};
  std::vector<std::string> lines = IniLines();
  ASSERT_EQ(lines.size(), 29u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 7), expected);
  std::vector<std::string> keys;
  for (std::size_t i = 7; i < lines.size(); ++i)
    keys.push_back(lines[i].substr(0, lines[i].find('=')));
  EXPECT_EQ(keys, (std::vector<std::string>{"LogWindow/X",
                                            "LogWindow/Y",
                                            "LogWindow/W",
                                            "LogWindow/H",
                                            "LogWindow/Visible",
                                            "LogWindow/RmsColor",
                                            "LogWindow/RmsVisible",
                                            "LogWindow/DcColor",
                                            "LogWindow/DcVisible",
                                            "LogWindow/MaxColor",
                                            "LogWindow/MaxVisible",
                                            "LogWindow/MinColor",
                                            "LogWindow/MinVisible",
                                            "LogWindow/MashtabIndexU",
                                            "LogWindow/MashtabIndexT",
                                            "SpektrWindow/X",
                                            "SpektrWindow/Y",
                                            "SpektrWindow/W",
                                            "SpektrWindow/H",
                                            "SpektrWindow/Visible",
                                            "SpektrWindow/HorLog",
                                            "SpektrWindow/VertLog"}));
}

TEST_F(StartUpTest, CloseWritesMaximisedAndOutOfRangeScalesAsTheyStand) {
  WriteIni("[MainWindow]\nMashtabIndexU=12\nMashtabIndexT=-1\n");
  Start();
  EXPECT_EQ(MForm->ComboBoxU->ItemIndex(), -1);
  EXPECT_DOUBLE_EQ(MForm->ChartSignal.LeftAxis().Maximum(), 347);
  MForm->SetWindowState(ui::TWindowState::wsMaximized);
  ui::TCloseAction action = ui::TCloseAction::caHide;
  MForm->FormClose(MForm, action);
  const std::vector<std::string> lines = IniLines();
  auto has = [&](const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  };
  EXPECT_TRUE(has("MainWindow/MashtabIndexU=-1"));
  EXPECT_TRUE(has("MainWindow/MashtabIndexT=-1"));
  EXPECT_TRUE(has("MainWindow/Fullscreen=1"));
  EXPECT_TRUE(has("MainWindow/W=700"));
}

TEST_F(StartUpTest, ARelativeRecordFileOnTheCommandLineIsFoundInTheSettingsFolder) {
  auto record = std::make_unique<TMeasRecord>();
  FillPattern(*record, 9);
  record->uRms = 2.25f;
  fs::create_directories(folder);
  WriteWholeFile(folder + "/start.VRX470", Bytes(*record));
  os::SetProgramArguments({"start.VRX470", "ignored"});
  Start();
  EXPECT_EQ(Bytes(FileRecord), Bytes(*record));
  EXPECT_EQ(SourceMode, kSourceFile);
  EXPECT_EQ(MForm->ModeRadioGroup->ItemIndex(), 2);
  EXPECT_EQ(Shown(), "2.25");
  // No file dialog; only the missing driver is reported.
  EXPECT_EQ(dialogs, 0);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Внимание!");
}

}  // namespace

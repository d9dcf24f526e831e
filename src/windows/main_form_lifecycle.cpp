// The main window's creation and close: the settings folder and file, the window's placement,
// the connection thread, service mode and the two scales; at close every window's settings.
#include <string>
#include <vector>

#include "command_line.h"
#include "connection_link.h"
#include "file.h"
#include "folders.h"
#include "log_form.h"
#include "main_form.h"
#include "records.h"
#include "screen.h"
#include "settings.h"
#include "spektr_form.h"
#include "usb_log.h"
#include "window_rect.h"

namespace {

constexpr char kProgramFolder[] = "VRX-470";
constexpr char kSettingsFile[] = "VRX-470.ini";
constexpr char kMainSection[] = "MainWindow";
constexpr int kLiveLog2N = 12;
constexpr int kMemoryLog2N = 14;

// The settings folder under the user's application data; when that folder is unknown, the
// folder the program was started in, so the settings still have a place.
std::string SettingsFolder() {
  std::string base = os::AppDataFolder();
  if (base.empty())
    base = os::CurrentFolder();
  return base + os::PathSeparator() + kProgramFolder;
}

}  // namespace

void TMForm::FormCreate(ui::TObject*) {
  SetDoubleBuffered(true);

  SignalRecord.log2N = kLiveLog2N;
  for (TMeasRecord& record : MemoryRecords)
    record.log2N = kMemoryLog2N;
  FileRecord.log2N = kLiveLog2N;

  SetCaption("Киловольтметр многопредельный цифровой VRX-470");

  // From here on the settings folder is the current directory, where a relative record file on
  // the command line is found. Failures are not reported: the program then runs on its default
  // settings.
  const std::string folder = SettingsFolder();
  os::CreateFolder(folder);
  os::SetCurrentFolder(folder);
  // The traffic log by its full path: a file dialog moves the current directory later, and a
  // settings folder that cannot be made current leaves it elsewhere; a "log.txt" there is the
  // user's. Without a usable settings folder there is no log.
  SetUsbLogFolder(folder);
  const std::string settingsFile = folder + os::PathSeparator() + kSettingsFile;
  // Create the file empty when it is missing; an existing one stays untouched.
  os::File::Open(settingsFile, os::File::Mode::kOpenAlways);
  IniFileName = settingsFile;

  ui::WindowPlacement placement;
  GetPlacement(placement);
  const int32_t x = ReadSetting(kMainSection, "X", "0");
  const int32_t y = ReadSetting(kMainSection, "Y", "0");
  const int32_t w = ReadSetting(kMainSection, "W", "700");
  const int32_t h = ReadSetting(kMainSection, "H", "400");
  placement.normalPosition =
      MainWindowRect(x, y, w, h, ui::ScreenSize(), {MinWidth(), MinHeight()});
  placement.showCmd = ReadSetting(kMainSection, "Fullscreen", "0") != 0 ? ui::SW_SHOWMAXIMIZED_STATE
                                                                        : ui::SW_SHOW_STATE;
  SetPlacement(placement);

  ClearUsbLog();

  // Created held and let go once the source and service modes hold their start-up values: the
  // thread's first transfers look at the service mode, whatever the time start-up takes.
  const std::vector<std::string> arguments = os::ProgramArguments();
  FtConnectThread = os::TThread::Create<classFtConnectThread>(
      true, MainConnectionLink(),
      arguments.empty() ? std::nullopt : std::optional<std::string>(arguments.front()));
  SourceMode = kSourceLive;
  if (ReadSetting("Programm", "SM", "0") != 0) {
    ServiceMode = 1;
    ServicePanel->SetVisible(true);
    N9->SetVisible(true);
  }
  FtConnectThread->Resume();

  // An index outside a box's list leaves it without a selection; its handler runs all the same.
  ComboBoxU->SetItemIndex(ReadSetting(kMainSection, "MashtabIndexU", "0"));
  ComboBoxUChange(ComboBoxU);
  ComboBoxTime->SetItemIndex(ReadSetting(kMainSection, "MashtabIndexT", "0"));
  ComboBoxTimeChange(ComboBoxTime);
}

void TMForm::FormClose(ui::TObject*, ui::TCloseAction&) {
  // Every key is written at every close, changed or not; a failed write is lost silently.
  ui::WindowPlacement placement;
  GetPlacement(placement);
  const ui::TRect& r = placement.normalPosition;
  WriteSetting(kMainSection, "X", r.left);
  WriteSetting(kMainSection, "Y", r.top);
  WriteSetting(kMainSection, "W", r.right - r.left);
  WriteSetting(kMainSection, "H", r.bottom - r.top);
  WriteSetting(kMainSection, "Fullscreen", placement.showCmd == ui::SW_SHOWMAXIMIZED_STATE ? 1 : 0);

  if (LogForm != nullptr)
    LogForm->WriteSettings();
  if (SpektrForm != nullptr)
    SpektrForm->SaveSettings();

  WriteSetting(kMainSection, "MashtabIndexU", ComboBoxU->ItemIndex());
  WriteSetting(kMainSection, "MashtabIndexT", ComboBoxTime->ItemIndex());
}

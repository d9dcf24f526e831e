// The main window's commands: the status timer, the signal source, the run mode, the two scales,
// the point display, the record files, the view, help and utility menus.
#include <cstring>
#include <iterator>
#include <memory>
#include <mutex>

#include "about_form.h"
#include "connection_link.h"
#include "ft_ident_form.h"
#include "ft_transport.h"
#include "log_form.h"
#include "main_form.h"
#include "record_file.h"
#include "records.h"
#include "spektr_form.h"
#include "sw_update_form.h"

TMForm* MForm = nullptr;
int UsbBlinkCounter = 0;

namespace {

// Items of the signal-source radio group; the item is not the SourceMode value.
constexpr int kSignalItem = 0;
constexpr int kMemoryItem = 1;
constexpr int kFileItem = 2;

// Items of the run-mode radio group.
constexpr int kAutoItem = 0;
constexpr int kSingleItem = 1;

// Kilovolts per division of the vertical scale items 1 to 9 (item 0 is the auto scale).
constexpr double kKilovoltsPerDivision[] = {0.1, 0.2, 0.5, 1, 2, 5, 10, 20, 50};
// Milliseconds per division of the horizontal scale items 0 to 7.
constexpr double kMillisecondsPerDivision[] = {1, 2, 5, 10, 20, 50, 100, 200};
// The chart shows ten divisions.
constexpr int kDivisions = 10;

// "Пуск/Пауза": continuous pauses, paused continues, single mode asks for one reading; a
// reading already asked for stays asked for.
bool NextRunModeOnButton(uint8_t now, uint8_t& next) {
  switch (now) {
    case kRunContinuous:
      next = kRunPaused;
      return true;
    case kRunPaused:
      next = kRunContinuous;
      return true;
    case kRunSingleWaiting:
      next = kRunOneRequested;
      return true;
    default:
      return false;
  }
}

// A dialog that is not resident: made with the application as owner and kept in its global while
// it is shown modally, then deleted; the global is cleared, so nothing reaches a deleted dialog.
template <class Dialog>
void ShowDialog(Dialog*& global) {
  global = new Dialog(ui::Application);
  global->ShowModal();
  delete global;
  global = nullptr;
}

}  // namespace

void TMForm::UsbTimerTimer(ui::TObject*) {
  if (UsbConnected != 0) {
    StatusBar->SetPanelText(0, "Прибор подключен");
    return;
  }
  // While searching, the text blinks: shown on odd ticks, blank on even ones.
  ++UsbBlinkCounter;
  StatusBar->SetPanelText(0, UsbBlinkCounter % 2 != 0 ? "Поиск прибора" : "");
}

void TMForm::ModeRadioGroupClick(ui::TObject*) {
  switch (ModeRadioGroup->ItemIndex()) {
    case kSignalItem:
    case kMemoryItem: {
      SourceMode = ModeRadioGroup->ItemIndex() == kSignalItem ? kSourceLive : kSourceMemory;
      // The connection thread may be writing the record: show it between two of its writes.
      const TMeasRecord& record = *CurrentSourceRecord(MemNumComboBox->ItemIndex());
      std::lock_guard<std::mutex> hold(RecordLock(record));
      ShowMeasRecord(&record);
      break;
    }
    case kFileItem:
      // A file loaded by File > Open or the command line has set the file source already.
      if (SourceMode != kSourceFile)
        N11->Click();
      SourceMode = kSourceFile;
      break;
    default:
      break;
  }
}

void TMForm::RadioGroup1Click(ui::TObject*) {
  // The radio group never touches the pause label.
  if (RadioGroup1->ItemIndex() == kAutoItem)
    RunMode = kRunContinuous;
  else if (RadioGroup1->ItemIndex() == kSingleItem)
    RunMode = kRunSingleWaiting;
}

void TMForm::Button1Click(ui::TObject*) {
  // The connection thread turns 2 into 3 at the same time; move from the value found, and try
  // again if the thread changed it in between.
  uint8_t now = RunMode;
  uint8_t next = now;
  do {
    if (!NextRunModeOnButton(now, next))
      return;
  } while (!RunMode.compare_exchange_weak(now, next));
  if (next == kRunPaused)
    LabelPause->SetVisible(true);
  else if (now == kRunPaused)
    LabelPause->SetVisible(false);
}

void TMForm::ComboBoxUChange(ui::TObject*) {
  const int index = ComboBoxU->ItemIndex();
  if (index == 0) {
    const TMeasRecord& record = *CurrentSourceRecord(MemNumComboBox->ItemIndex());
    std::lock_guard<std::mutex> hold(RecordLock(record));
    AutoScaleU(&record);
    return;
  }
  if (index < 1 || index > static_cast<int>(std::size(kKilovoltsPerDivision)))
    return;
  const double d = kKilovoltsPerDivision[index - 1];
  chart::Axis& axis = ChartSignal.LeftAxis();
  axis.SetAutomatic(false);
  // Minimum first: every range is symmetric about 0, so neither end is ever refused.
  axis.SetMinimum(-kDivisions / 2 * d);
  axis.SetMaximum(kDivisions / 2 * d);
  axis.SetIncrement(d);
}

void TMForm::ComboBoxTimeChange(ui::TObject*) {
  chart::Axis& axis = ChartSignal.BottomAxis();
  // The time axis starts at the trigger point whatever is selected.
  axis.SetMinimum(0);
  const int index = ComboBoxTime->ItemIndex();
  if (index < 0 || index >= static_cast<int>(std::size(kMillisecondsPerDivision)))
    return;
  const double d = kMillisecondsPerDivision[index];
  axis.SetAutomatic(false);
  axis.SetIncrement(d);
  axis.SetMaximum(kDivisions * d);
}

void TMForm::CheckBox1Click(ui::TObject*) {
  if (ServiceMode == 0)
    return;
  const bool points = CheckBox1->Checked();
  Series1->SetPointerVisible(points);
  Series1->SetLineVisible(!points);
}

void TMForm::N11Click(ui::TObject*) {
  if (!OpenDialog->Execute())
    return;
  ConnectionLink& link = MainConnectionLink();
  bool loaded;
  {
    // The connection thread writes FileRecord too, for a record file named on the command line.
    std::lock_guard<std::mutex> hold(RecordLock(FileRecord));
    loaded = ReadRecordFile(OpenDialog->fileName, FileRecord);
  }
  if (loaded)
    ShowOpenedRecordFile(link);
  else
    link.ReportFileError();
}

void TMForm::N12Click(ui::TObject*) {
  if (!SaveDialog->Execute())
    return;
  // A copy taken under the record's lock holds the record as it stands between two writes of the
  // connection thread; the file is then written without holding the thread up.
  auto copy = std::make_unique<TMeasRecord>();
  {
    const TMeasRecord& record = *CurrentSourceRecord(MemNumComboBox->ItemIndex());
    std::lock_guard<std::mutex> hold(RecordLock(record));
    std::memcpy(copy.get(), &record, sizeof(TMeasRecord));
  }
  SaveRecordFile(SaveDialog->fileName, *copy, MainConnectionLink());
}

void TMForm::N2Click(ui::TObject*) {
  MForm->Close();
}

void TMForm::N7Click(ui::TObject*) {
  N7->SetChecked(!N7->Checked());
  if (SpektrForm != nullptr)
    SpektrForm->SetVisible(N7->Checked());
}

void TMForm::N8Click(ui::TObject*) {
  N8->SetChecked(!N8->Checked());
  if (LogForm != nullptr)
    LogForm->SetVisible(N8->Checked());
}

void TMForm::N5Click(ui::TObject*) {
  ShowDialog(AboutForm);
}

void TMForm::N10Click(ui::TObject*) {
  ShowDialog(SWUpdateForm);
}

void TMForm::ft2321Click(ui::TObject*) {
  ShowDialog(FtIdentForm);
}

#include "connection_link.h"

#include "error_box.h"
#include "log_form.h"
#include "main_form.h"

namespace {

// Source item of the radio group for the file.
constexpr int kFileSourceItem = 2;

}  // namespace

void ConnectionLink::ReportFileError() {
  ShowErrorBox(kFileErrorText, kErrorTitle);
}

void ConnectionLink::SelectFileSource() {
  if (MForm != nullptr)
    MForm->ModeRadioGroup->SetItemIndex(kFileSourceItem);
}

void ConnectionLink::ShowRecord(const TMeasRecord& record) {
  if (MForm != nullptr)
    MForm->ShowMeasRecord(&record);
}

void ConnectionLink::AddLogPoint(const TMeasRecord& record) {
  ::AddLogPoint(&record);
}

void ConnectionLink::SetCycleTimeText(const std::string& text) {
  if (MForm != nullptr)
    MForm->SerLabel4->SetCaption(text);
}

int ConnectionLink::SelectedMemorySlot() {
  return MForm != nullptr ? MForm->MemNumComboBox->ItemIndex() : 0;
}

void ConnectionLink::ReportMissingDriver() {
  ShowErrorBox(kMissingDriverText, kMissingDriverTitle);
}

ConnectionLink& MainConnectionLink() {
  static ConnectionLink link;
  return link;
}

// What the connection thread and the record-file commands need of the windows, answered by the
// main window, its components and the log window.
#pragma once

#include "connection_thread.h"

class ConnectionLink : public ConnectionHost {
 public:
  void ReportFileError() override;
  void SelectFileSource() override;
  void ShowRecord(const TMeasRecord& record) override;
  void AddLogPoint(const TMeasRecord& record) override;
  void SetCycleTimeText(const std::string& text) override;
  int SelectedMemorySlot() override;
  void ReportMissingDriver() override;
};

// The one link of the program, handed to the connection thread at start-up.
ConnectionLink& MainConnectionLink();

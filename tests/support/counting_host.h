// The main window as the connection thread sees it, reduced to a count of the live readings
// (every call comes on the main thread).
#pragma once

#include <string>

#include "connection_thread.h"

class CountingHost : public ConnectionHost {
 public:
  void ReportFileError() override {}
  void SelectFileSource() override {}
  void ShowRecord(const TMeasRecord&) override {}
  void AddLogPoint(const TMeasRecord&) override { ++readings; }
  void SetCycleTimeText(const std::string&) override {}
  int SelectedMemorySlot() override { return 0; }
  void ReportMissingDriver() override {}

  int readings = 0;
};

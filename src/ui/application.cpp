#include "application.h"

#include "dialogs.h"
#include "peer.h"
#include "thread.h"

namespace ui {
namespace {

void ShowSyncException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (...) {
    Application->ShowCurrentException();
  }
}

}  // namespace

// Never deleted: at the end of the process worker threads may still reach the forms it owns.
TApplication* Application = new TApplication();

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() {
  // The forms go first, while the application they refer to still stands.
  mainForm_ = nullptr;
}

void TApplication::Initialize() {
  os::SetWakeMainThread(&peer::WakeMainThread);
  os::SetMainThreadWait(&peer::WaitForMainThreadWork);
  os::SetSyncExceptionHandler(&ShowSyncException);
  // The first wake makes the back end's message window here, on the main thread.
  peer::WakeMainThread();
}

void TApplication::Run() {
  if (mainForm_ && !terminated_)
    peer::RunMessageLoop();
}

void TApplication::ProcessMessages() {
  peer::ProcessMessages();
}

void TApplication::Terminate() {
  terminated_ = true;
  peer::WakeMainThread();
}

std::string ExceptionBoxText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
    return message + ".";
  return message;
}

void TApplication::ShowException(const std::exception& error) {
  ShowMessageBox(mainForm_, ExceptionBoxText(error.what()), title_, MB_ERROR_ICON);
}

void TApplication::ShowCurrentException() {
  try {
    throw;
  } catch (const Exception& error) {
    ShowException(error);
  } catch (const std::exception& error) {
    ShowException(Exception(error.what()));
  } catch (...) {
    ShowException(Exception(""));
  }
}

}  // namespace ui

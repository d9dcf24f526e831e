// The program's entry: the three resident windows, main first, then the message loop.
#include <windows.h>

#include "application.h"
#include "exception.h"
#include "log_form.h"
#include "main_form.h"
#include "spektr_form.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    ui::Application->Initialize();
    // The main window comes first: its creation handler makes the settings file that the
    // spectrum and log windows read in their constructors.
    ui::Application->CreateForm(MForm);
    ui::Application->CreateForm(SpektrForm);
    ui::Application->CreateForm(LogForm);
    ui::Application->Run();
  } catch (const ui::Exception& error) {
    ui::Application->ShowException(error);
  } catch (...) {
    // Anything that is not the framework's own exception is shown as one with no message.
    ui::Application->ShowException(ui::Exception(""));
  }
  return 0;
}

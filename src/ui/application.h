// The application object: creates the forms (the first is the main form), runs the message loop
// and shows exceptions in the standard exception box.
#pragma once

#include <exception>
#include <new>
#include <string>

#include "component.h"
#include "exception.h"
#include "form.h"

namespace ui {

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  // Installs the main thread's dispatcher of synchronised calls and the exception display.
  void Initialize();

  // Creates a form owned by the application, with ref set before the constructor runs so the
  // constructor and OnCreate reach the form through it. The first form is the main form.
  template <class T>
  void CreateForm(T*& ref) {
    void* memory = ::operator new(sizeof(T));
    ref = static_cast<T*>(memory);
    try {
      new (memory) T(this);
    } catch (...) {
      ref = nullptr;
      ::operator delete(memory);
      throw;
    }
    if (!mainForm_)
      mainForm_ = ref;
    ref->DoCreate();
  }

  TForm* MainForm() const { return mainForm_; }
  // Runs the message loop until the main form has closed.
  void Run();
  // Handles the messages waiting, as the message loop would, and returns.
  void ProcessMessages();
  void Terminate();
  bool Terminated() const { return terminated_; }

  // The title of the exception box: the program's name.
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }

  // The standard exception box: the message, with a full stop added unless it ends in one,
  // under the application's title with the error icon.
  void ShowException(const std::exception& error);
  // Shows whatever error is being handled: a framework exception with its message, any other
  // exception as one with an empty message. For catch (...) blocks.
  void ShowCurrentException();

 private:
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
  std::string title_ = "VRX-470";
};

extern TApplication* Application;

// The text the standard exception box shows for a message.
std::string ExceptionBoxText(const std::string& message);

}  // namespace ui

// Drives vrx470.exe from another process, as a user would: starts it with a scenario for the
// simulated instrument, finds its windows and controls by component name, sends them real
// window messages, reads their texts back, answers its dialogs and message boxes, and closes it.
// Every wait is bounded; a program that is still running when its driver goes is killed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace e2e {

// A check that did not hold.
class Failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What a case needs of the program is visibly not there yet.
class Skipped : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The longest any single wait may take.
constexpr DWORD kWaitMs = 20000;

// Polls condition every 50 ms until it holds (true) or ms have passed (false).
bool WaitFor(const std::function<bool()>& condition, DWORD ms = kWaitMs);
// Lets the program run for ms while nothing is checked (a bounded pause between user actions).
void Pause(DWORD ms);

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

// The folder of the running driver, where vrx470.exe and ftd2xx.dll are built.
std::wstring BinFolder();
// %APPDATA%\VRX-470: the program's settings folder.
std::wstring SettingsFolder();
// An empty folder of this name under the temporary folder.
std::wstring FreshTempFolder(const std::wstring& name);
void RemoveTree(const std::wstring& folder);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
std::string ReadBytes(const std::wstring& path);
// The whole file when it can be opened now (the program writing it holds it unshared), else false.
bool TryReadBytes(const std::wstring& path, std::string* bytes);
void WriteBytes(const std::wstring& path, const std::string& bytes);

// One driver call the simulator wrote to its trace file.
struct TraceCall {
  std::string name;    // FT_Read, FT_Write, FT_OpenEx, ...
  std::string handle;  // as printed
  std::string arguments;
  unsigned status = 0;
  unsigned Argument(const std::string& key, int base = 10) const;  // "len=5" -> 5
};
std::vector<TraceCall> ReadTrace(const std::wstring& path);

struct Options {
  std::wstring exe;        // defaults to vrx470.exe in BinFolder()
  std::wstring folder;     // working folder; defaults to the exe's folder
  std::wstring arguments;  // command line after the program's name
  std::string scenario;    // simulator scenario text; written to a file named in the environment
};

class Program {
 public:
  explicit Program(Options options);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  void Start();
  bool Running() const;
  DWORD ProcessId() const { return process_.dwProcessId; }
  // Path of the simulator's trace file (every run writes one).
  const std::wstring& TracePath() const { return tracePath_; }

  // The main window, once it carries the program's caption and is shown.
  HWND MainWindow(DWORD ms = kWaitMs);
  // A window of the program whose component name is name; Failure when none comes within ms.
  // "Form/Control" names a control on the form of that name (several forms have a Button1); a
  // name alone is looked for on the main window first.
  HWND Find(const std::string& name, DWORD ms = kWaitMs);
  // The same without waiting; nullptr when there is none.
  HWND TryFind(const std::string& name);

  std::string Text(HWND window);
  std::string Text(const std::string& name) { return Text(Find(name)); }
  bool Visible(const std::string& name);
  std::string StatusText();

  void Click(const std::string& button);
  void SelectCombo(const std::string& combo, int index);
  int ComboIndex(const std::string& combo);
  void SelectRadio(const std::string& group, const std::string& item);
  // The text of the checked item of a radio group, empty when none is.
  std::string CheckedRadio(const std::string& group);

  // Moves the real mouse pointer to x, y of the named window's client area, its top-level
  // window brought to the front first: the program gets the system's own mouse messages.
  void MoveMouse(const std::string& name, int x, int y);
  SIZE ClientSize(const std::string& name);

  // A main-menu item by its path of captions, e.g. "Файл/Открыть": shown, and its command.
  bool HasMenu(const std::string& path);
  bool MenuChecked(const std::string& path);
  void Menu(const std::string& path);

  // A dialog box (#32770) of the program, or nullptr when none comes within ms.
  HWND WaitDialog(DWORD ms = kWaitMs);
  // Answers the open or save dialog that comes within ms with path; false when none came.
  bool AnswerFileDialog(const std::wstring& path, DWORD ms = kWaitMs);
  // Reads the message box that comes within ms and closes it with OK; false when none came.
  bool AnswerMessageBox(std::string& text, std::string& title, DWORD ms = kWaitMs);

  // For ms, asks every shown window of the program to paint again, one round at a time, and
  // measures how long each waits until it has painted: the longest wait seen, in milliseconds.
  DWORD LongestPaintWait(DWORD ms);
  // True when the window and every shown window on it have painted what they were asked to.
  bool Painted(HWND window);

  // Saves what the screen shows of a window (the main window unless named) as a 24-bit .bmp.
  void Screenshot(const std::wstring& path, HWND window = nullptr);

  // Asks the main window to close and waits for the process to end; false on time-out.
  bool Close(DWORD ms = kWaitMs);
  // The exit code, once ended.
  DWORD ExitCode() const;
  void Kill();

 private:
  std::vector<HWND> TopWindows() const;
  LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  DWORD MenuValue(const std::string& path);

  Options options_;
  std::wstring scenarioPath_;
  std::wstring tracePath_;
  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
};

}  // namespace e2e

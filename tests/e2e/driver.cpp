#include "driver.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <utility>

#include "text.h"

namespace e2e {
namespace {

const wchar_t kComponentProperty[] = L"VrxComponent";
const wchar_t kMenuPropertyPrefix[] = L"VrxMenu:";
const char kMainCaption[] = "Киловольтметр многопредельный цифровой VRX-470";
// The controls of the common dialogs: the message text of a message box, and the file-name
// edit (or its combo box) of an open or save dialog.
constexpr int kMessageTextId = 0xFFFF;
constexpr int kFileNameEditId = 0x480;
constexpr int kFileNameComboId = 0x47C;
// One message that the program does not answer within this long counts as a hang.
constexpr UINT kSendTimeoutMs = 5000;

std::wstring ClassName(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

std::string ComponentName(HWND window) {
  auto atom =
      static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(::GetPropW(window, kComponentProperty)));
  if (!atom)
    return {};
  wchar_t name[256] = {};
  if (!::GlobalGetAtomNameW(atom, name, 256))
    return {};
  return Narrow(name);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> Descendants(HWND root) {
  std::vector<HWND> found;
  ::EnumChildWindows(root, &CollectWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

// A menu caption without its short-cut text.
std::wstring MenuCaption(const wchar_t* text) {
  std::wstring caption = text;
  std::size_t tab = caption.find(L'\t');
  return tab == std::wstring::npos ? caption : caption.substr(0, tab);
}

std::vector<std::wstring> SplitPath(const std::wstring& path) {
  std::vector<std::wstring> parts;
  std::wstringstream stream(path);
  std::wstring part;
  while (std::getline(stream, part, L'/'))
    parts.push_back(part);
  return parts;
}

// The item at path in a menu that this process can read: its id and check state in the form of
// the back end's menu property; 0 when absent; -1 when the menu cannot be read from here.
long RealMenuValue(HMENU menu, const std::vector<std::wstring>& path) {
  if (::GetMenuItemCount(menu) < 0)
    return -1;
  for (std::size_t level = 0; level < path.size(); ++level) {
    const int count = ::GetMenuItemCount(menu);
    bool found = false;
    for (int i = 0; i < count && !found; ++i) {
      wchar_t text[256] = {};
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_STRING | MIIM_ID | MIIM_SUBMENU | MIIM_STATE;
      info.dwTypeData = text;
      info.cch = 255;
      if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
        return -1;
      if (MenuCaption(text) != path[level])
        continue;
      found = true;
      if (level + 1 == path.size())
        return static_cast<long>(info.wID | ((info.fState & MFS_CHECKED) ? 0x10000u : 0u));
      menu = info.hSubMenu;
    }
    if (!found || !menu)
      return 0;
  }
  return 0;
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, DWORD ms) {
  const ULONGLONG end = ::GetTickCount64() + ms;
  for (;;) {
    if (condition())
      return true;
    if (::GetTickCount64() >= end)
      return false;
    ::Sleep(50);
  }
}

void Pause(DWORD ms) {
  ::Sleep(ms);
}

std::wstring Widen(const std::string& text) {
  return os::Utf8ToWide(text);
}

std::string Narrow(const std::wstring& text) {
  return os::WideToUtf8(text);
}

std::wstring BinFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

std::wstring SettingsFolder() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)))
    throw Failure("the application-data folder is unknown");
  return std::wstring(path) + L"\\VRX-470";
}

std::wstring FreshTempFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"vrx-e2e-" + name;
  RemoveTree(folder);
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..")
        continue;
      std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
      }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  ::RemoveDirectoryW(folder.c_str());
}

bool FileExists(const std::wstring& path) {
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool TryReadBytes(const std::wstring& path, std::string* bytes) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  bytes->clear();
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
    bytes->append(buffer, got);
  ::CloseHandle(file);
  return true;
}

std::string ReadBytes(const std::wstring& path) {
  std::string bytes;
  if (!TryReadBytes(path, &bytes))
    throw Failure("cannot read " + Narrow(path));
  return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    throw Failure("cannot write " + Narrow(path));
  DWORD written = 0;
  bool ok = bytes.empty() ||
            (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
             written == bytes.size());
  ::CloseHandle(file);
  if (!ok)
    throw Failure("cannot write " + Narrow(path));
}

unsigned TraceCall::Argument(const std::string& key, int base) const {
  std::size_t at = arguments.find(key + "=");
  if (at == std::string::npos)
    return 0;
  return static_cast<unsigned>(
      std::strtoul(arguments.c_str() + at + key.size() + 1, nullptr, base));
}

std::vector<TraceCall> ReadTrace(const std::wstring& path) {
  std::vector<TraceCall> calls;
  if (!FileExists(path))
    return calls;
  std::istringstream lines(ReadBytes(path));
  std::string line;
  while (std::getline(lines, line)) {
    // "name handle arguments -> status"
    std::size_t arrow = line.rfind(" -> ");
    std::size_t first = line.find(' ');
    if (arrow == std::string::npos || first == std::string::npos || first > arrow)
      continue;
    TraceCall call;
    call.name = line.substr(0, first);
    std::size_t second = line.find(' ', first + 1);
    if (second == std::string::npos || second > arrow)
      second = arrow;
    call.handle = line.substr(first + 1, second - first - 1);
    call.arguments = second < arrow ? line.substr(second + 1, arrow - second - 1) : "";
    call.status = static_cast<unsigned>(std::strtoul(line.c_str() + arrow + 4, nullptr, 10));
    calls.push_back(call);
  }
  return calls;
}

Program::Program(Options options) : options_(std::move(options)) {
  if (options_.exe.empty())
    options_.exe = BinFolder() + L"\\vrx470.exe";
  if (options_.folder.empty())
    options_.folder = options_.exe.substr(0, options_.exe.find_last_of(L"\\/"));
}

Program::~Program() {
  if (process_.hProcess) {
    if (Running())
      Kill();
    ::CloseHandle(process_.hProcess);
    ::CloseHandle(process_.hThread);
  }
}

void Program::Start() {
  static int runs = 0;
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  std::wstring stem = std::wstring(temp) + L"vrx-e2e-" + std::to_wstring(::GetCurrentProcessId()) +
                      L"-" + std::to_wstring(++runs);
  scenarioPath_ = stem + L"-scenario.txt";
  tracePath_ = stem + L"-trace.txt";
  ::DeleteFileW(tracePath_.c_str());
  WriteBytes(scenarioPath_, options_.scenario + "\ntrace = " + Narrow(tracePath_) + "\n");

  // The driver's environment with the scenario named in it.
  std::wstring environment;
  wchar_t* strings = ::GetEnvironmentStringsW();
  for (const wchar_t* entry = strings; *entry; entry += wcslen(entry) + 1) {
    if (_wcsnicmp(entry, L"VRX_SIM_SCENARIO=", 17) != 0)
      environment.append(entry).push_back(L'\0');
  }
  ::FreeEnvironmentStringsW(strings);
  environment.append(L"VRX_SIM_SCENARIO=" + scenarioPath_).push_back(L'\0');
  environment.push_back(L'\0');

  std::wstring commandLine = L"\"" + options_.exe + L"\"";
  if (!options_.arguments.empty())
    commandLine += L" " + options_.arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!::CreateProcessW(options_.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT, environment.data(), options_.folder.c_str(),
                        &startup, &process_))
    throw Failure("cannot start " + Narrow(options_.exe) + " (error " +
                  std::to_string(::GetLastError()) + ")");
}

bool Program::Running() const {
  return process_.hProcess && ::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD Program::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  ::GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

void Program::Kill() {
  ::TerminateProcess(process_.hProcess, 1);
  ::WaitForSingleObject(process_.hProcess, kWaitMs);
}

std::vector<HWND> Program::TopWindows() const {
  std::vector<HWND> all, found;
  ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&all));
  for (HWND window : all) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid == process_.dwProcessId)
      found.push_back(window);
  }
  return found;
}

LRESULT Program::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                             kSendTimeoutMs, &result))
    throw Failure("the program does not answer window message " + std::to_string(message));
  return static_cast<LRESULT>(result);
}

HWND Program::MainWindow(DWORD ms) {
  if (main_ && ::IsWindow(main_))
    return main_;
  const std::wstring caption = Widen(kMainCaption);
  HWND found = nullptr;
  WaitFor(
      [&] {
        if (!Running())
          return true;
        for (HWND window : TopWindows()) {
          if (ClassName(window) != L"#32770" && ::IsWindowVisible(window) &&
              Widen(Text(window)) == caption) {
            found = window;
            return true;
          }
        }
        return false;
      },
      ms);
  if (!found)
    throw Failure(Running() ? "no main window titled \"" + std::string(kMainCaption) + "\""
                            : "the program ended before its main window was shown");
  main_ = found;
  return main_;
}

HWND Program::TryFind(const std::string& name) {
  const std::size_t slash = name.find('/');
  const std::string form = slash == std::string::npos ? std::string() : name.substr(0, slash);
  const std::string control = slash == std::string::npos ? name : name.substr(slash + 1);
  // Without a form's name the main window comes first: its Button1 is not the log's.
  std::vector<HWND> tops = TopWindows();
  std::stable_partition(tops.begin(), tops.end(), [this](HWND top) { return top == main_; });
  for (HWND top : tops) {
    if (!form.empty() && ComponentName(top) != form)
      continue;
    if (form.empty() && ComponentName(top) == control)
      return top;
    for (HWND child : Descendants(top)) {
      if (ComponentName(child) == control)
        return child;
    }
  }
  return nullptr;
}

HWND Program::Find(const std::string& name, DWORD ms) {
  HWND found = nullptr;
  WaitFor([&] { return (found = TryFind(name)) != nullptr || !Running(); }, ms);
  if (!found)
    throw Failure("no window of component " + name);
  return found;
}

std::string Program::Text(HWND window) {
  auto length = static_cast<std::size_t>(Send(window, WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(length + 1, L'\0');
  auto got = static_cast<std::size_t>(
      Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  text.resize(std::min(got, length));
  return Narrow(text);
}

bool Program::Visible(const std::string& name) {
  return ::IsWindowVisible(Find(name)) != FALSE;
}

std::string Program::StatusText() {
  return Text("StatusBar");
}

void Program::Click(const std::string& button) {
  // Posted: the click may open a modal dialog, which a sent message would wait for.
  ::PostMessageW(Find(button), BM_CLICK, 0, 0);
}

bool Program::Painted(HWND window) {
  if (::GetUpdateRect(window, nullptr, FALSE))
    return false;
  for (HWND child : Descendants(window)) {
    if (::IsWindowVisible(child) && ::GetUpdateRect(child, nullptr, FALSE))
      return false;
  }
  return true;
}

DWORD Program::LongestPaintWait(DWORD ms) {
  // A window that waits longer than this has plainly stopped painting.
  constexpr DWORD kGiveUpMs = 5000;
  DWORD longest = 0;
  std::size_t next = 0;
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < ms) {
    // One window at a time, in turn, so that asking adds little to what the program paints.
    std::vector<HWND> windows;
    for (HWND top : TopWindows()) {
      if (!::IsWindowVisible(top))
        continue;
      windows.push_back(top);
      for (HWND child : Descendants(top)) {
        if (::IsWindowVisible(child))
          windows.push_back(child);
      }
    }
    if (windows.empty())
      throw Failure("the program shows no window");
    HWND window = windows[next++ % windows.size()];
    ::InvalidateRect(window, nullptr, FALSE);
    const DWORD asked = ::GetTickCount();
    DWORD waited = 0;
    // A window the program redraws at every reading is without an update region only for the
    // moment between its paint and the next reading: polled every millisecond.
    while (::GetUpdateRect(window, nullptr, FALSE) && waited < kGiveUpMs) {
      ::Sleep(1);
      waited = ::GetTickCount() - asked;
    }
    longest = std::max(longest, waited);
    ::Sleep(20);
  }
  return longest;
}

void Program::MoveMouse(const std::string& name, int x, int y) {
  HWND window = Find(name);
  HWND top = ::GetAncestor(window, GA_ROOT);
  ::SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  ::SetForegroundWindow(top);
  POINT at{x, y};
  ::ClientToScreen(window, &at);
  if (!::SetCursorPos(at.x, at.y))
    throw Failure("cannot move the mouse pointer");
  // Lets the pointer's move reach the program and the program handle it.
  Pause(100);
}

SIZE Program::ClientSize(const std::string& name) {
  RECT r{};
  ::GetClientRect(Find(name), &r);
  return {r.right, r.bottom};
}

void Program::SelectCombo(const std::string& combo, int index) {
  HWND window = Find(combo);
  Send(window, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // What a user's pick sends to the combo box's parent.
  ::PostMessageW(::GetParent(window), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(window), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(window));
}

int Program::ComboIndex(const std::string& combo) {
  return static_cast<int>(Send(Find(combo), CB_GETCURSEL, 0, 0));
}

void Program::SelectRadio(const std::string& group, const std::string& item) {
  HWND window = Find(group);
  for (HWND button : Descendants(window)) {
    if (::GetParent(button) == window && Text(button) == item) {
      // A click on the item, as the group receives it from its button.
      ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
      return;
    }
  }
  throw Failure("radio group " + group + " has no item \"" + item + "\"");
}

std::string Program::CheckedRadio(const std::string& group) {
  HWND window = Find(group);
  for (HWND button : Descendants(window)) {
    if (::GetParent(button) == window && Send(button, BM_GETCHECK, 0, 0) == BST_CHECKED)
      return Text(button);
  }
  return {};
}

DWORD Program::MenuValue(const std::string& path) {
  HWND main = MainWindow();
  long value = RealMenuValue(::GetMenu(main), SplitPath(Widen(path)));
  if (value >= 0)
    return static_cast<DWORD>(value);
  // The menu lives in another process that this platform does not let us read: the back end
  // names each shown item in a property of the window.
  return static_cast<DWORD>(
      reinterpret_cast<ULONG_PTR>(::GetPropW(main, (kMenuPropertyPrefix + Widen(path)).c_str())));
}

bool Program::HasMenu(const std::string& path) {
  return MenuValue(path) != 0;
}

bool Program::MenuChecked(const std::string& path) {
  return (MenuValue(path) & 0x10000u) != 0;
}

void Program::Menu(const std::string& path) {
  DWORD value = MenuValue(path);
  if (!value)
    throw Failure("no menu item " + path);
  ::PostMessageW(MainWindow(), WM_COMMAND, MAKEWPARAM(value & 0xFFFF, 0), 0);
}

HWND Program::WaitDialog(DWORD ms) {
  HWND found = nullptr;
  WaitFor(
      [&] {
        for (HWND window : TopWindows()) {
          if (ClassName(window) == L"#32770" && ::IsWindowVisible(window)) {
            found = window;
            return true;
          }
        }
        return !Running();
      },
      ms);
  return found;
}

bool Program::AnswerFileDialog(const std::wstring& path, DWORD ms) {
  HWND dialog = WaitDialog(ms);
  if (!dialog)
    return false;
  HWND edit = ::GetDlgItem(dialog, kFileNameEditId);
  if (!edit) {
    HWND combo = ::GetDlgItem(dialog, kFileNameComboId);
    edit = combo ? ::FindWindowExW(combo, nullptr, L"Edit", nullptr) : nullptr;
    if (!edit)
      edit = combo;
  }
  if (!edit) {
    HWND message = ::GetDlgItem(dialog, kMessageTextId);
    throw Failure("a message box came instead of a file dialog: \"" +
                  (message ? Text(message) : std::string()) + "\"");
  }
  std::wstring name = path;
  Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
  if (!WaitFor([&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); }))
    throw Failure("the file dialog stayed open after OK");
  return true;
}

bool Program::AnswerMessageBox(std::string& text, std::string& title, DWORD ms) {
  HWND dialog = nullptr;
  WaitFor(
      [&] {
        HWND candidate = WaitDialog(0);
        if (candidate && ::GetDlgItem(candidate, kMessageTextId))
          dialog = candidate;
        return dialog != nullptr || !Running();
      },
      ms);
  if (!dialog)
    return false;
  text = Text(::GetDlgItem(dialog, kMessageTextId));
  title = Text(dialog);
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
  if (!WaitFor([&] { return !::IsWindow(dialog); }))
    throw Failure("the message box stayed open after OK");
  return true;
}

void Program::Screenshot(const std::wstring& path, HWND window) {
  HWND shown = window ? window : MainWindow();
  ::SetWindowPos(shown, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  ::RedrawWindow(shown, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pause(500);
  RECT r;
  ::GetWindowRect(shown, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  if (width <= 0 || height <= 0)
    throw Failure("the window has no area to capture");
  // What the screen shows there: the program paints its own controls, so the window must be seen
  // as drawn rather than asked to print itself.
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  ::GdiFlush();
  const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;
  header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  header.bfSize = header.bfOffBits + imageBytes;
  info.bmiHeader.biSizeImage = imageBytes;
  std::string file(reinterpret_cast<const char*>(&header), sizeof header);
  file.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  file.append(static_cast<const char*>(bits), imageBytes);
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  WriteBytes(path, file);
}

bool Program::Close(DWORD ms) {
  if (!Running())
    return true;
  ::PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
  return ::WaitForSingleObject(process_.hProcess, ms) == WAIT_OBJECT_0;
}

}  // namespace e2e

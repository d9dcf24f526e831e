// A desktop of the test's own (Windows only). Wine draws it as a virtual desktop and manages the
// windows on it itself, as Windows does; on the bare X display of the tests no window manager
// answers, and a window shown maximised is moved back to its normal rectangle by the X server's
// late answer. Window placement tests run here.
#pragma once

#include <windows.h>

#include <string>

// Makes the desktop, sized as the test display, and moves the calling thread onto it; call before
// the thread has made any window. False when it could not.
inline bool UseDesktopOfOurOwn(const std::wstring& name) {
  const wchar_t size[] = L"1280x1024";
  // The size of a named desktop is looked up here when its first window is made.
  if (::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", name.c_str(),
                        REG_SZ, size, sizeof size) != ERROR_SUCCESS)
    return false;
  HDESK desktop = ::CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  return desktop != nullptr && ::SetThreadDesktop(desktop) != FALSE;
}

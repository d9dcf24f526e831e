#include <windows.h>

#include <shlobj.h>

#include <vector>

#include "folders.h"
#include "text.h"

namespace os {

std::string AppDataFolder() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)))
    return {};
  return WideToUtf8(path);
}

bool CreateFolder(const std::string& path) {
  return ::CreateDirectoryW(Utf8ToWide(path).c_str(), nullptr) != 0;
}

bool SetCurrentFolder(const std::string& path) {
  return ::SetCurrentDirectoryW(Utf8ToWide(path).c_str()) != 0;
}

std::string CurrentFolder() {
  DWORD length = ::GetCurrentDirectoryW(0, nullptr);
  std::vector<wchar_t> buffer(length + 1, L'\0');
  length = ::GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
  return WideToUtf8(std::wstring(buffer.data(), length));
}

std::string ExecutableFolder() {
  // Long paths: grow the buffer until the whole name fits.
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0)
      return {};
    if (length < buffer.size()) {
      std::string path = WideToUtf8(std::wstring(buffer.data(), length));
      return path.substr(0, path.find_last_of("\\/") + 1);
    }
    buffer.resize(buffer.size() * 2);
  }
}

char PathSeparator() {
  return '\\';
}

}  // namespace os

#include <windows.h>

#include <vector>

#include "profile.h"
#include "text.h"

namespace os {

std::string ReadProfileText(const std::string& section, const std::string& key,
                            const std::string& defaultValue, std::size_t bufferChars,
                            const std::string& path) {
  if (bufferChars == 0)
    return {};
  std::vector<wchar_t> buffer(bufferChars, L'\0');
  DWORD length = ::GetPrivateProfileStringW(
      Utf8ToWide(section).c_str(), Utf8ToWide(key).c_str(), Utf8ToWide(defaultValue).c_str(),
      buffer.data(), static_cast<DWORD>(bufferChars), Utf8ToWide(path).c_str());
  return WideToUtf8(std::wstring(buffer.data(), length));
}

bool WriteProfileText(const std::string& section, const std::string& key, const std::string& value,
                      const std::string& path) {
  return ::WritePrivateProfileStringW(Utf8ToWide(section).c_str(), Utf8ToWide(key).c_str(),
                                      Utf8ToWide(value).c_str(), Utf8ToWide(path).c_str()) != 0;
}

}  // namespace os

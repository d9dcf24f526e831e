// Conversion between the UTF-8 texts of the code and the UTF-16 of the Windows calls.
#pragma once

#include <string>

namespace os {

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

}  // namespace os

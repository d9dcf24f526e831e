// Text conversions: between the UTF-8 texts of the code and the UTF-16 of the Windows calls
// (Windows only), and from UTF-8 to the Windows Cyrillic code page 1251 (both platforms).
#pragma once

#include <string>

namespace os {

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

// One byte a character in code page 1251, appended to `out`. A character the code page lacks,
// and a broken UTF-8 sequence, becomes '?'.
void AppendUtf8AsCp1251(const std::string& text, std::string* out);
std::string Utf8ToCp1251(const std::string& text);

}  // namespace os

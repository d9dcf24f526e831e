#include "settings.h"

#include <cctype>
#include <limits>

#include "profile.h"

std::string IniFileName;

int32_t SettingTextToInt(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    negative = text[i++] == '-';
  // Accumulate toward the sign and stop at the 32-bit limits.
  const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                 : std::numeric_limits<int32_t>::max();
  int64_t magnitude = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > limit)
      magnitude = limit;
  }
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

int32_t ReadSetting(const std::string& section, const std::string& key,
                    const std::string& defaultText) {
  return SettingTextToInt(
      os::ReadProfileText(section, key, defaultText, kSettingBufferChars, IniFileName));
}

void WriteSetting(const std::string& section, const std::string& key, int32_t value) {
  os::WriteProfileText(section, key, std::to_string(value), IniFileName);
}

#include <cctype>
#include <fstream>
#include <sstream>
#include <vector>

#include "profile.h"

namespace os {
namespace {

std::string Trim(const std::string& text) {
  std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos)
    return {};
  std::size_t end = text.find_last_not_of(" \t\r");
  return text.substr(begin, end - begin + 1);
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// The section named by a "[name]" line, or false for any other line.
bool SectionOf(const std::string& line, std::string* name) {
  std::string text = Trim(line);
  if (text.empty() || text[0] != '[')
    return false;
  std::size_t close = text.find(']');
  *name = Trim(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
  return true;
}

// The key and value of a "key=value" line.
bool KeyOf(const std::string& line, std::string* key, std::string* value) {
  std::size_t equals = line.find('=');
  if (equals == std::string::npos)
    return false;
  *key = Trim(line.substr(0, equals));
  *value = Trim(line.substr(equals + 1));
  return true;
}

std::vector<std::string> ReadLines(const std::string& path, bool* exists) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  *exists = static_cast<bool>(in);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// Cuts text to at most count characters, never inside a UTF-8 sequence.
std::string FirstChars(const std::string& text, std::size_t count) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
      continue;
    if (chars == count)
      return text.substr(0, i);
    ++chars;
  }
  return text;
}

// One pair of matching quotes around a value is not part of it.
std::string Unquote(const std::string& value) {
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

std::string ReadProfileText(const std::string& section, const std::string& key,
                            const std::string& defaultValue, std::size_t bufferChars,
                            const std::string& path) {
  if (bufferChars == 0)
    return {};
  std::string result = defaultValue.substr(0, defaultValue.find_last_not_of(' ') + 1);
  bool exists = false;
  bool inSection = false;
  std::string name, lineKey, value;
  for (const std::string& line : ReadLines(path, &exists)) {
    if (SectionOf(line, &name)) {
      inSection = SameName(name, section);
    } else if (inSection && KeyOf(line, &lineKey, &value) && SameName(lineKey, key)) {
      result = Unquote(value);
      break;
    }
  }
  return FirstChars(result, bufferChars - 1);
}

bool WriteProfileText(const std::string& section, const std::string& key, const std::string& value,
                      const std::string& path) {
  bool exists = false;
  std::vector<std::string> lines = ReadLines(path, &exists);
  const std::string entry = key + "=" + value;
  std::string name, lineKey, lineValue;
  bool inSection = false;
  bool sectionFound = false;
  bool done = false;
  // Where a missing key goes: after the last non-blank line of its section.
  std::size_t insertAt = 0;
  for (std::size_t i = 0; i < lines.size() && !done; ++i) {
    if (SectionOf(lines[i], &name)) {
      if (inSection)
        break;
      inSection = SameName(name, section);
      if (inSection) {
        sectionFound = true;
        insertAt = i + 1;
      }
    } else if (inSection) {
      if (KeyOf(lines[i], &lineKey, &lineValue) && SameName(lineKey, key)) {
        lines[i] = entry;
        done = true;
      } else if (!Trim(lines[i]).empty()) {
        insertAt = i + 1;
      }
    }
  }
  if (!done) {
    if (sectionFound) {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
    } else {
      lines.push_back("[" + section + "]");
      lines.push_back(entry);
    }
  }
  std::ostringstream text;
  for (const std::string& line : lines)
    text << line << "\r\n";
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text.str();
  return static_cast<bool>(out.flush());
}

}  // namespace os

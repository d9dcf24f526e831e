// Values of an initialization file ("[section]" lines, "key=value" lines), read and written the
// way the Windows private-profile calls do: names match without regard to letter case, blanks
// around names and values do not count, a missing file, section or key gives the default, a key
// present with an empty value gives the empty text.
#pragma once

#include <cstddef>
#include <string>

namespace os {

// The value as it lands in a buffer of bufferChars characters, terminating zero included: at
// most bufferChars - 1 characters of it. The default loses its trailing blanks.
std::string ReadProfileText(const std::string& section, const std::string& key,
                            const std::string& defaultValue, std::size_t bufferChars,
                            const std::string& path);

// Replaces the key's value where it stands, adds a missing key at the end of its section and a
// missing section at the end of the file, and creates a missing file. False when it failed.
bool WriteProfileText(const std::string& section, const std::string& key, const std::string& value,
                      const std::string& path);

}  // namespace os

// The settings file VRX-470.ini: where it is, and the one way every value is read and written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Full path of the settings file; set once at start-up before any reader runs. A string rather
// than a fixed buffer, so a long user folder cannot overflow it.
extern std::string IniFileName;

// Values are fetched into a buffer of this many characters, terminating zero included.
constexpr std::size_t kSettingBufferChars = 100;

// The integer of a settings text: leading white space, an optional sign, then the decimal digits
// up to the first other character; no digits give 0. Values beyond 32 bits saturate.
int32_t SettingTextToInt(const std::string& text);

// Reads section/key of IniFileName with the key's default text, as an integer.
int32_t ReadSetting(const std::string& section, const std::string& key,
                    const std::string& defaultText);

// Writes the value as decimal text; a failed write is not reported (the next start reads the
// defaults), as nothing can be done about it at close.
void WriteSetting(const std::string& section, const std::string& key, int32_t value);

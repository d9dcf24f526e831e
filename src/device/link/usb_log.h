// The USB traffic log "log.txt" in the settings folder: one line per transfer, in service mode,
// only if the file exists.
#pragma once

#include <cstdint>
#include <string>

constexpr char kUsbLogFileName[] = "log.txt";

enum UsbDirection : uint8_t { kUsbIn = 0, kUsbOut = 1 };

// Places the log in `folder` (the settings folder), by its full path, so that it stays there
// whatever the current directory becomes later (a file dialog moves it). Until it is called, and
// after an empty folder, there is no log: nothing is emptied or written anywhere.
void SetUsbLogFolder(const std::string& folder);

// Empties an existing log; never creates it.
void ClearUsbLog();

// Two upper-case hexadecimal digits of `value` and a terminating zero (room for 3 characters).
void ByteToHex(char* text, uint8_t value);

// Appends "IN[n]: " or "OUT[n]: ", each byte as two digits and a blank, and a line feed.
void LogUsbData(const uint8_t* data, uint32_t length, uint8_t direction);

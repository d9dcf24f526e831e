// The USB traffic log "log.txt": one line per transfer, in service mode, only if the file exists.
#pragma once

#include <cstdint>

constexpr char kUsbLogFileName[] = "log.txt";

enum UsbDirection : uint8_t { kUsbIn = 0, kUsbOut = 1 };

// Empties an existing log; never creates it.
void ClearUsbLog();

// Two upper-case hexadecimal digits of `value` and a terminating zero (room for 3 characters).
void ByteToHex(char* text, uint8_t value);

// Appends "IN[n]: " or "OUT[n]: ", each byte as two digits and a blank, and a line feed.
void LogUsbData(const uint8_t* data, uint32_t length, uint8_t direction);

#include "usb_log.h"

#include <string>

#include "file.h"
#include "records.h"

void ClearUsbLog() {
  os::File log = os::File::Open(kUsbLogFileName, os::File::Mode::kReadWriteExisting);
  if (!log.IsOpen())
    return;
  log.SeekToStart();
  log.TruncateHere();
}

void ByteToHex(char* text, uint8_t value) {
  static const char kDigits[] = "0123456789ABCDEF";
  text[0] = kDigits[value >> 4];
  text[1] = kDigits[value & 0x0F];
  text[2] = '\0';
}

void LogUsbData(const uint8_t* data, uint32_t length, uint8_t direction) {
  if (ServiceMode == 0 || length == 0)
    return;
  // Logging is switched on by creating the file by hand; it is never created here.
  os::File log = os::File::Open(kUsbLogFileName, os::File::Mode::kReadWriteExisting);
  if (!log.IsOpen())
    return;
  log.SeekToEnd();

  std::string line;
  line.reserve(4 * static_cast<std::size_t>(length) + 20);
  line += direction == kUsbIn ? "IN[" : "OUT[";
  line += std::to_string(length);
  line += "]: ";
  char pair[3];
  for (uint32_t i = 0; i < length; ++i) {
    ByteToHex(pair, data[i]);
    line += pair;
    line += ' ';
  }
  line += '\n';
  log.Write(line.data(), line.size());
}

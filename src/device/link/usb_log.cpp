#include "usb_log.h"

#include <mutex>

#include "file.h"
#include "folders.h"
#include "records.h"

namespace {

std::mutex logPathLock;
// Empty while the log has no place.
std::string logPath;

// The log opened for reading and writing when it has a place and exists there; never created.
os::File OpenLog() {
  std::string path;
  {
    // Set on the main thread, read by whichever thread moves data.
    std::lock_guard<std::mutex> hold(logPathLock);
    path = logPath;
  }
  if (path.empty())
    return {};
  return os::File::Open(path, os::File::Mode::kReadWriteExisting);
}

}  // namespace

void SetUsbLogFolder(const std::string& folder) {
  std::lock_guard<std::mutex> hold(logPathLock);
  logPath = folder.empty() ? std::string() : folder + os::PathSeparator() + kUsbLogFileName;
}

void ClearUsbLog() {
  os::File log = OpenLog();
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
  os::File log = OpenLog();
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

#include "firmware_image.h"

#include <cstring>

#include "crc16.h"
#include "file.h"

ImageFileResult ReadImageFile(const std::string& path, uint8_t* buffer, int32_t size) {
  os::File file = os::File::Open(path, os::File::Mode::kReadExisting);
  if (!file.IsOpen())
    return ImageFileResult::kMissing;
  // The whole 64-bit size: a file of 4 GiB and a few bytes is too large, not a few bytes long.
  const long long length = file.Size();
  if (length < 0)
    return ImageFileResult::kReadError;
  if (length > size)
    return ImageFileResult::kTooLarge;
  std::memset(buffer, 0xFF, static_cast<size_t>(size));
  if (file.Read(buffer, static_cast<size_t>(length)) < 0)
    return ImageFileResult::kReadError;
  return ImageFileResult::kRead;
}

void StampCrc(uint8_t* buffer, int32_t size) {
  const uint16_t crc = Crc16(buffer, size - 2);
  buffer[size - 2] = static_cast<uint8_t>(crc >> 8);
  buffer[size - 1] = static_cast<uint8_t>(crc & 0xFF);
}

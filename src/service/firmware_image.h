// The two firmware image files of the instrument's microcontroller and their buffers: a file's
// content fills its buffer from the start, and the last two bytes of the full buffer carry the
// CRC of all bytes before them.
#pragma once

#include <cstdint>
#include <string>

// The microcontroller's flash and EEPROM: the size of each image as it is sent.
constexpr int32_t kFlashImageSize = 14336;
constexpr int32_t kEepromImageSize = 512;

constexpr char kFlashFileName[] = "AVR_mega162.bin";
constexpr char kEepromFileName[] = "EE_AVR_mega162.bin";

enum class ImageFileResult { kRead, kMissing, kTooLarge, kReadError };

// Reads the file at `path` into `buffer` of `size` bytes. A file larger than the buffer is refused
// before anything is read. Bytes beyond a shorter file's content are 0xFF, the value of erased
// flash and EEPROM, so a short image leaves the rest of the memory as if erased.
ImageFileResult ReadImageFile(const std::string& path, uint8_t* buffer, int32_t size);

// Stores the CRC of the first size - 2 bytes into the last two, high byte first.
void StampCrc(uint8_t* buffer, int32_t size);

// Files opened without sharing, addressed by UTF-8 paths (wide paths on Windows).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace os {

class File {
 public:
  enum class Mode {
    kReadExisting,       // open an existing file for reading
    kReadWriteExisting,  // open an existing file for reading and writing; never creates it
    kCreateReadWrite,    // create the file, or empty it if it exists
    kOpenAlways,         // open the file for writing as it is, creating it empty if missing
    kCreateNew,          // create a file that is not there yet for writing; fails if it is
  };

  File() = default;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  ~File();

  static File Open(const std::string& path, Mode mode);

  bool IsOpen() const;
  // Bytes transferred by one call, or -1 on an error.
  long long Read(void* buffer, std::size_t length);
  long long Write(const void* buffer, std::size_t length);
  // The file's size in bytes, or -1 when it cannot be told.
  long long Size() const;
  bool SeekToEnd();
  bool SeekToStart();
  // Cuts the file at the current position.
  bool TruncateHere();
  void Close();

 private:
#if defined(_WIN32)
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

bool FileExists(const std::string& path);

// Puts the file `from` in the place of `to`, replacing a file there; false when it cannot (`to`
// is a folder, read-only, or held open by another program), and then both stay as they were.
bool MoveOver(const std::string& from, const std::string& to);
bool RemoveFile(const std::string& path);

// A seam for tests: a filter that sees the length of every write before the system does and
// returns how many of its bytes go through (fewer gives a short write, -1 a failed one).
using WriteFilter = long long (*)(std::size_t length);
// Installs the filter (nullptr: none) and returns the previous one.
WriteFilter SetWriteFilter(WriteFilter filter);
// What the filter lets through of a write of `length` bytes: all of it without a filter.
long long WriteAllowance(std::size_t length);

}  // namespace os

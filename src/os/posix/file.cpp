#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "file.h"

namespace os {

File::File(File&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

File::~File() {
  Close();
}

File File::Open(const std::string& path, Mode mode) {
  int flags = O_CLOEXEC;
  switch (mode) {
    case Mode::kReadExisting:
      flags |= O_RDONLY;
      break;
    case Mode::kReadWriteExisting:
      flags |= O_RDWR;
      break;
    case Mode::kCreateReadWrite:
      flags |= O_RDWR | O_CREAT | O_TRUNC;
      break;
    case Mode::kOpenAlways:
      flags |= O_WRONLY | O_CREAT;
      break;
    case Mode::kCreateNew:
      flags |= O_WRONLY | O_CREAT | O_EXCL;
      break;
  }
  File file;
  file.fd_ = ::open(path.c_str(), flags, 0644);
  if (file.fd_ >= 0) {
    struct stat info {};
    // Only plain files: a folder opens for reading here, but not on Windows.
    if (::fstat(file.fd_, &info) != 0 || !S_ISREG(info.st_mode))
      file.Close();
  }
  return file;
}

bool File::IsOpen() const {
  return fd_ >= 0;
}

long long File::Read(void* buffer, std::size_t length) {
  if (fd_ < 0)
    return -1;
  std::size_t done = 0;
  // One logical read: keep going until the length is reached or the file ends.
  while (done < length) {
    ssize_t got = ::read(fd_, static_cast<char*>(buffer) + done, length - done);
    if (got < 0)
      return -1;
    if (got == 0)
      break;
    done += static_cast<std::size_t>(got);
  }
  return static_cast<long long>(done);
}

long long File::Write(const void* buffer, std::size_t length) {
  if (fd_ < 0)
    return -1;
  const long long allowed = WriteAllowance(length);
  if (allowed < 0)
    return -1;
  length = std::min(length, static_cast<std::size_t>(allowed));
  std::size_t done = 0;
  while (done < length) {
    ssize_t put = ::write(fd_, static_cast<const char*>(buffer) + done, length - done);
    if (put < 0)
      return done > 0 ? static_cast<long long>(done) : -1;
    if (put == 0)
      break;
    done += static_cast<std::size_t>(put);
  }
  return static_cast<long long>(done);
}

long long File::Size() const {
  struct stat info {};
  if (fd_ < 0 || ::fstat(fd_, &info) != 0)
    return -1;
  return static_cast<long long>(info.st_size);
}

bool File::SeekToEnd() {
  return fd_ >= 0 && ::lseek(fd_, 0, SEEK_END) >= 0;
}

bool File::SeekToStart() {
  return fd_ >= 0 && ::lseek(fd_, 0, SEEK_SET) == 0;
}

bool File::TruncateHere() {
  if (fd_ < 0)
    return false;
  off_t here = ::lseek(fd_, 0, SEEK_CUR);
  return here >= 0 && ::ftruncate(fd_, here) == 0;
}

void File::Close() {
  if (fd_ >= 0)
    ::close(fd_);
  fd_ = -1;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool MoveOver(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

}  // namespace os

#include <windows.h>

#include <algorithm>
#include <utility>

#include "file.h"
#include "text.h"

namespace os {

File::File(File&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

File::~File() {
  Close();
}

File File::Open(const std::string& path, Mode mode) {
  DWORD access = GENERIC_READ;
  DWORD disposition = OPEN_EXISTING;
  if (mode != Mode::kReadExisting)
    access |= GENERIC_WRITE;
  if (mode == Mode::kCreateReadWrite)
    disposition = CREATE_ALWAYS;
  if (mode == Mode::kOpenAlways) {
    access = GENERIC_WRITE;
    disposition = OPEN_ALWAYS;
  }
  if (mode == Mode::kCreateNew) {
    access = GENERIC_WRITE;
    disposition = CREATE_NEW;
  }
  // No sharing: another program holding the file open makes the open fail.
  HANDLE h = ::CreateFileW(Utf8ToWide(path).c_str(), access, 0, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  File file;
  if (h != INVALID_HANDLE_VALUE)
    file.handle_ = h;
  return file;
}

bool File::IsOpen() const {
  return handle_ != nullptr;
}

long long File::Read(void* buffer, std::size_t length) {
  if (!handle_)
    return -1;
  DWORD got = 0;
  if (!::ReadFile(handle_, buffer, static_cast<DWORD>(length), &got, nullptr))
    return -1;
  return got;
}

long long File::Write(const void* buffer, std::size_t length) {
  if (!handle_)
    return -1;
  const long long allowed = WriteAllowance(length);
  if (allowed < 0)
    return -1;
  length = std::min(length, static_cast<std::size_t>(allowed));
  DWORD put = 0;
  if (!::WriteFile(handle_, buffer, static_cast<DWORD>(length), &put, nullptr)) {
    return put > 0 ? static_cast<long long>(put) : -1;
  }
  return put;
}

long long File::Size() const {
  LARGE_INTEGER size{};
  if (!handle_ || !::GetFileSizeEx(handle_, &size))
    return -1;
  return size.QuadPart;
}

bool File::SeekToEnd() {
  return handle_ && ::SetFilePointer(handle_, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER;
}

bool File::SeekToStart() {
  return handle_ && ::SetFilePointer(handle_, 0, nullptr, FILE_BEGIN) == 0;
}

bool File::TruncateHere() {
  return handle_ && ::SetEndOfFile(handle_);
}

void File::Close() {
  if (handle_)
    ::CloseHandle(handle_);
  handle_ = nullptr;
}

bool FileExists(const std::string& path) {
  DWORD attributes = ::GetFileAttributesW(Utf8ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MoveOver(const std::string& from, const std::string& to) {
  // Written through: the new file is on the disk before it counts as replacing the old one.
  return ::MoveFileExW(Utf8ToWide(from).c_str(), Utf8ToWide(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool RemoveFile(const std::string& path) {
  return ::DeleteFileW(Utf8ToWide(path).c_str()) != FALSE;
}

}  // namespace os

// A file written from start to end that takes the place of the file at its path only once all of
// it is written: the bytes go to a new file beside the target, which then replaces the target.
// A stream that fails, or that goes without Commit, removes its new file and leaves the target as
// it was. Failures raise the framework's file errors.
#pragma once

#include <cstddef>
#include <string>

#include "file.h"

namespace ui {

class TReplacingFileStream {
 public:
  // Raises "Cannot create file <fileName>" when no file can be made beside the target.
  explicit TReplacingFileStream(const std::string& fileName);
  ~TReplacingFileStream();
  TReplacingFileStream(const TReplacingFileStream&) = delete;
  TReplacingFileStream& operator=(const TReplacingFileStream&) = delete;

  // Raises "Stream write error" unless every byte was written.
  void Write(const void* data, std::size_t length);
  // Closes the new file and puts it in the target's place; raises "Cannot create file
  // <fileName>" when the target cannot be replaced (a read-only file, one held open).
  void Commit();

 private:
  std::string fileName_;
  std::string newName_;
  os::File file_;
  bool committed_ = false;
};

}  // namespace ui

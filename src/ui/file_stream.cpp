#include "file_stream.h"

#include "exception.h"

namespace ui {
namespace {

// Names beside the target tried for the new file, for when an earlier run left one behind.
constexpr int kNewNameTries = 100;

Exception CannotCreate(const std::string& fileName) {
  return Exception("Cannot create file " + fileName);
}

}  // namespace

TReplacingFileStream::TReplacingFileStream(const std::string& fileName) : fileName_(fileName) {
  for (int i = 0; i < kNewNameTries && !file_.IsOpen(); ++i) {
    newName_ = fileName + ".~" + std::to_string(i);
    file_ = os::File::Open(newName_, os::File::Mode::kCreateNew);
    // Only a name that is taken is worth another try; a missing folder fails them all.
    if (!file_.IsOpen() && !os::FileExists(newName_))
      break;
  }
  if (!file_.IsOpen())
    throw CannotCreate(fileName_);
}

TReplacingFileStream::~TReplacingFileStream() {
  if (committed_)
    return;
  file_.Close();
  os::RemoveFile(newName_);
}

void TReplacingFileStream::Write(const void* data, std::size_t length) {
  if (file_.Write(data, length) != static_cast<long long>(length))
    throw Exception("Stream write error");
}

void TReplacingFileStream::Commit() {
  file_.Close();
  if (!os::MoveOver(newName_, fileName_))
    throw CannotCreate(fileName_);
  committed_ = true;
}

}  // namespace ui

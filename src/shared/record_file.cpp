#include "record_file.h"

#include <cstring>
#include <memory>

#include "file.h"
#include "records.h"

bool HasShowableLength(const TMeasRecord& record) {
  return record.log2N >= 1 && record.log2N <= kMaxLog2N;
}

bool ReadRecordFile(const std::string& path, TMeasRecord& record) {
  os::File file = os::File::Open(path, os::File::Mode::kReadExisting);
  if (!file.IsOpen())
    return false;
  // Heap buffer: a record is too large for a thread's stack.
  auto buffer = std::make_unique<TMeasRecord>();
  if (file.Read(buffer.get(), kRecordSize) != static_cast<long long>(kRecordSize))
    return false;
  if (!HasShowableLength(*buffer))
    return false;
  std::memcpy(&record, buffer.get(), kRecordSize);
  return true;
}

bool WriteRecordFile(const std::string& path, const TMeasRecord& record) {
  os::File file = os::File::Open(path, os::File::Mode::kCreateReadWrite);
  if (!file.IsOpen())
    return false;
  return file.Write(&record, kRecordSize) == static_cast<long long>(kRecordSize);
}

void ShowOpenedRecordFile(RecordFileHost& host) {
  SourceMode = kSourceFile;
  host.SelectFileSource();
  host.ShowRecord(FileRecord);
}

bool OpenRecordFile(const std::string& path, RecordFileHost& host) {
  if (!ReadRecordFile(path, FileRecord)) {
    host.ReportFileError();
    return false;
  }
  ShowOpenedRecordFile(host);
  return true;
}

bool SaveRecordFile(const std::string& path, const TMeasRecord& record, RecordFileHost& host) {
  if (WriteRecordFile(path, record))
    return true;
  host.ReportFileError();
  return false;
}

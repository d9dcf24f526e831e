// Record files: the raw 140,696-byte image of one TMeasRecord, no header, no checksum.
#pragma once

#include <string>

#include "meas_record.h"

inline constexpr char kFileErrorText[] = "Ошибка открытия файла!";
inline constexpr char kErrorTitle[] = "Ошибка!";

// What the record-file commands need of the main window; the windows fill it in.
class RecordFileHost {
 public:
  virtual ~RecordFileHost() = default;
  // "Ошибка открытия файла!" under "Ошибка!" with the error icon; returns once it is closed.
  virtual void ReportFileError() = 0;
  // Switches the source radio group to "Файл" (SourceMode is already 1 then).
  virtual void SelectFileSource() = 0;
  virtual void ShowRecord(const TMeasRecord& record) = 0;
};

// Whether a record can be shown within its arrays: 2^log2N samples, at most 16,384.
bool HasShowableLength(const TMeasRecord& record);

// Reads the first 140,696 bytes of the file into `record`. The bytes are read into a buffer
// first, so a refused file (cannot be opened, shorter, or with a length the arrays cannot hold)
// leaves `record` as it was. Further bytes of the file are never read.
bool ReadRecordFile(const std::string& path, TMeasRecord& record);

// Creates the file (or empties it) and writes the record in one write; true when every byte
// reached the file. A short write leaves the file with what was written.
bool WriteRecordFile(const std::string& path, const TMeasRecord& record);

// File > Open and the command line, on the main thread: a file that reads whole becomes the
// file source and is shown; otherwise the error box, and nothing else changes.
bool OpenRecordFile(const std::string& path, RecordFileHost& host);

// Shows a FileRecord that has just been read: SourceMode 1 before the radio group moves, so its
// click handler finds the file source already chosen.
void ShowOpenedRecordFile(RecordFileHost& host);

// File > Save: writes the record, with the error box on failure.
bool SaveRecordFile(const std::string& path, const TMeasRecord& record, RecordFileHost& host);

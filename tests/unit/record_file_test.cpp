#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "record_file.h"
#include "records.h"
#include "temp_dir.h"

namespace {

// Records what the main window was asked to do, and the source mode at each step.
class FakeHost : public RecordFileHost {
 public:
  void ReportFileError() override { calls.push_back("error"); }
  void SelectFileSource() override {
    calls.push_back("select:" + std::to_string(SourceMode.load()));
  }
  void ShowRecord(const TMeasRecord& record) override {
    calls.push_back(&record == &FileRecord ? "show:file" : "show:other");
  }
  std::vector<std::string> calls;
};

// A record image with every byte set, the unused ones included, and a showable length.
std::vector<unsigned char> RecordImage(int32_t log2N, size_t size = kRecordSize) {
  std::vector<unsigned char> bytes(size);
  for (size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<unsigned char>(i * 7 + 3);
  if (size >= 72)
    std::memcpy(&bytes[68], &log2N, sizeof log2N);
  return bytes;
}

class RecordFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(&FileRecord, 0xA5, sizeof FileRecord);
    FileRecord.log2N = 12;
    std::memcpy(&before_, &FileRecord, kRecordSize);
    SourceMode = kSourceLive;
  }
  void TearDown() override {
    std::memset(&FileRecord, 0, sizeof FileRecord);
    SourceMode = kSourceLive;
  }
  bool FileRecordUnchanged() const { return std::memcmp(&FileRecord, &before_, kRecordSize) == 0; }

  TempDir dir_;
  TMeasRecord before_;
};

struct LoadCase {
  const char* what;
  size_t size;
  int32_t log2N;
  bool accepted;
};

TEST_F(RecordFileTest, AcceptsOnlyWholeRecordsOfShowableLength) {
  const LoadCase cases[] = {
      {"one byte short", kRecordSize - 1, 12, false}, {"exact size", kRecordSize, 12, true},
      {"longer file", kRecordSize + 1000, 14, true},  {"empty file", 0, 12, false},
      {"smallest length", kRecordSize, 1, true},      {"largest length", kRecordSize, 14, true},
      {"no samples", kRecordSize, 0, false},          {"too many samples", kRecordSize, 15, false},
      {"negative length", kRecordSize, -3, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    auto image = RecordImage(c.log2N, c.size);
    WriteWholeFile(dir_.File("r.VRX470"), image);
    FakeHost host;
    EXPECT_EQ(OpenRecordFile(dir_.File("r.VRX470"), host), c.accepted);
    if (c.accepted) {
      EXPECT_EQ(std::memcmp(&FileRecord, image.data(), kRecordSize), 0);
      EXPECT_EQ(SourceMode.load(), kSourceFile);
      EXPECT_EQ(host.calls, (std::vector<std::string>{"select:1", "show:file"}));
    } else {
      // A refused file changes nothing: not the record, not the source, not the display.
      EXPECT_TRUE(FileRecordUnchanged());
      EXPECT_EQ(SourceMode.load(), kSourceLive);
      EXPECT_EQ(host.calls, (std::vector<std::string>{"error"}));
    }
  }
}

TEST_F(RecordFileTest, MissingFileIsReportedAndChangesNothing) {
  FakeHost host;
  EXPECT_FALSE(OpenRecordFile(dir_.File("absent.VRX470"), host));
  EXPECT_EQ(host.calls, (std::vector<std::string>{"error"}));
  EXPECT_TRUE(FileRecordUnchanged());
}

TEST_F(RecordFileTest, SavingTheOpenedFileWritesItBackByteForByte) {
  auto image = RecordImage(14);
  WriteWholeFile(dir_.File("in.VRX470"), image);
  FakeHost host;
  ASSERT_TRUE(OpenRecordFile(dir_.File("in.VRX470"), host));
  ASSERT_TRUE(SaveRecordFile(dir_.File("out.VRX470"), FileRecord, host));
  EXPECT_EQ(ReadWholeFile(dir_.File("out.VRX470")), image);
}

TEST_F(RecordFileTest, SaveReplacesALongerFileWithExactlyOneRecord) {
  WriteWholeFile(dir_.File("old.VRX470"), std::vector<unsigned char>(kRecordSize * 2, 0x11));
  FakeHost host;
  ASSERT_TRUE(SaveRecordFile(dir_.File("old.VRX470"), FileRecord, host));
  EXPECT_EQ(ReadWholeFile(dir_.File("old.VRX470")).size(), kRecordSize);
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(RecordFileTest, SaveIntoAMissingFolderIsReported) {
  FakeHost host;
  EXPECT_FALSE(SaveRecordFile(dir_.File("no-such-folder/r.VRX470"), FileRecord, host));
  EXPECT_EQ(host.calls, (std::vector<std::string>{"error"}));
}

}  // namespace

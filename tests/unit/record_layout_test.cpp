#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "records.h"

// The layout is pinned by static assertions; these check what they cannot: the instances and the
// source rule.
TEST(RecordLayout, MemoryRecordsLieOneAfterAnother) {
  for (int i = 0; i < kMemorySlots; ++i) {
    auto offset = reinterpret_cast<const char*>(&MemoryRecords[i]) -
                  reinterpret_cast<const char*>(&MemoryRecords[0]);
    EXPECT_EQ(offset, static_cast<std::ptrdiff_t>(kRecordSize * i));
  }
}

TEST(RecordLayout, FieldsLandAtTheirFileOffsets) {
  // Writing through the fields and reading the raw image catches byte-order and padding faults.
  TMeasRecord record{};
  record.log2N = 0x0102030E;
  record.clockDivider = 0x0C35;
  record.samples[0] = -2;
  record.acWeight = 0xBEEF;
  record.kalibr[1].DC = 0x1234;
  const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
  EXPECT_EQ(bytes[68], 0x0E);
  EXPECT_EQ(bytes[71], 0x01);
  EXPECT_EQ(bytes[74], 0x35);
  EXPECT_EQ(bytes[75], 0x0C);
  EXPECT_EQ(bytes[76], 0xFE);
  EXPECT_EQ(bytes[77], 0xFF);
  EXPECT_EQ(bytes[139668], 0xEF);
  EXPECT_EQ(bytes[139669], 0xBE);
  EXPECT_EQ(bytes[34], 0x34);
  EXPECT_EQ(bytes[35], 0x12);
}

struct SourceCase {
  uint8_t sourceMode;
  int slotIndex;
  const TMeasRecord* expected;
};

TEST(RecordLayout, CurrentSourceRecordFollowsSourceModeAndSlot) {
  const SourceCase cases[] = {
      {kSourceLive, 5, &SignalRecord},        {kSourceFile, 5, &FileRecord},
      {kSourceMemory, 0, &MemoryRecords[0]},  {kSourceMemory, 14, &MemoryRecords[14]},
      {kSourceMemory, 7, &MemoryRecords[7]},  {kSourceMemory, -1, &MemoryRecords[0]},
      {kSourceMemory, 15, &MemoryRecords[0]},
  };
  for (const auto& c : cases) {
    SourceMode = c.sourceMode;
    EXPECT_EQ(CurrentSourceRecord(c.slotIndex), c.expected)
        << "source " << int(c.sourceMode) << " slot " << c.slotIndex;
  }
  SourceMode = kSourceLive;
}

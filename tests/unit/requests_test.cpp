#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "requests.h"

namespace {

struct RequestCase {
  int32_t log2N;
  uint8_t slot;
  uint8_t countByte;
  uint8_t slotByte;
  int32_t replyLength;
};

TEST(Requests, WaveformRequestBytesAndReplyLength) {
  const RequestCase cases[] = {
      {12, 0, 0x10, 0xD0, 8194},
      {14, 1, 0x40, 0xD1, 32770},
      {14, 15, 0x40, 0xDF, 32770},
      {8, 0, 0x01, 0xD0, 514},
  };
  for (const auto& c : cases) {
    uint8_t request[kRequestLength];
    BuildWaveformRequest(request, c.log2N, c.slot);
    const uint8_t expected[kRequestLength] = {0x42, 0x00, 0x00, c.countByte, c.slotByte};
    EXPECT_EQ(std::memcmp(request, expected, kRequestLength), 0) << "log2N " << c.log2N;
    EXPECT_EQ(WaveformReplyLength(c.log2N), c.replyLength);
  }
}

TEST(Requests, ParameterRequestBytes) {
  uint8_t request[kRequestLength];
  BuildParameterRequest(request);
  const uint8_t expected[kRequestLength] = {0x42, 0x00, 0x00, 0x19, 0x19};
  EXPECT_EQ(std::memcmp(request, expected, kRequestLength), 0);
}

TEST(Requests, HeaderWordGivesRangeAndDivider) {
  const struct {
    uint8_t low, high;
    uint8_t range;
    uint16_t divider;
  } cases[] = {
      {0x23, 0x81, 0, 0x123}, {0x23, 0x01, 1, 0x123}, {0xFF, 0xFF, 0, 32767},
      {0x00, 0x00, 1, 0},     {0x00, 0x80, 0, 0},     {0x35, 0x0C, 1, 3125},
  };
  for (const auto& c : cases) {
    const uint8_t reply[] = {c.low, c.high, 0xFE, 0xFF};
    auto record = std::make_unique<TMeasRecord>();
    DecodeWaveformReply(reply, 1, *record);
    EXPECT_EQ(record->range, c.range);
    EXPECT_EQ(record->clockDivider, c.divider);
    EXPECT_EQ(record->samples[0], -2);
  }
}

TEST(Requests, FrameFillsOnlyTheFirstNSamples) {
  std::vector<uint8_t> reply(2 * 4096 + 2);
  for (size_t i = 2; i < reply.size(); i += 2) {
    reply[i] = 0x00;
    reply[i + 1] = 0x80;  // -32768
  }
  auto record = std::make_unique<TMeasRecord>();
  record->samples[4096] = 1234;
  DecodeWaveformReply(reply.data(), 4096, *record);
  EXPECT_EQ(record->samples[0], -32768);
  EXPECT_EQ(record->samples[4095], -32768);
  EXPECT_EQ(record->samples[4096], 1234);
}

TEST(Requests, ParameterReplyFillsOnlyItsFields) {
  uint8_t reply[kParameterReplyLength];
  for (int i = 0; i < kParameterReplyLength; ++i)
    reply[i] = static_cast<uint8_t>(i * 13 + 1);
  reply[72] = 0x38;  // zero offset -200
  reply[73] = 0xFF;
  auto record = std::make_unique<TMeasRecord>();
  std::memset(record.get(), 0x5C, sizeof(TMeasRecord));
  auto before = std::make_unique<TMeasRecord>(*record);

  DecodeParameterReply(reply, *record);

  auto word = [&](int at) { return static_cast<uint16_t>(reply[at] | reply[at + 1] << 8); };
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(record->kalibr[0].A[k], word(20 + 2 * k));
    EXPECT_EQ(record->kalibr[0].X[k], word(30 + 2 * k));
    EXPECT_EQ(record->kalibr[0].Y[k], word(40 + 2 * k));
  }
  EXPECT_EQ(record->kalibr[0].DC, word(50));
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(record->kalibr[1].A[k], word(52 + 2 * k));
    EXPECT_EQ(record->kalibr[1].X[k], word(58 + 2 * k));
    EXPECT_EQ(record->kalibr[1].Y[k], word(64 + 2 * k));
  }
  EXPECT_EQ(record->kalibr[1].DC, word(70));
  EXPECT_EQ(record->zeroOffset, -200);

  // Points 3 and 4 of range 1 and everything outside the calibration block keep their bytes.
  for (int k = 3; k < 5; ++k) {
    EXPECT_EQ(record->kalibr[1].A[k], before->kalibr[1].A[k]);
    EXPECT_EQ(record->kalibr[1].X[k], before->kalibr[1].X[k]);
    EXPECT_EQ(record->kalibr[1].Y[k], before->kalibr[1].Y[k]);
  }
  const auto* now = reinterpret_cast<const uint8_t*>(record.get());
  const auto* was = reinterpret_cast<const uint8_t*>(before.get());
  EXPECT_EQ(std::memcmp(now, was, 2), 0);
  EXPECT_EQ(std::memcmp(now + 68, was + 68, kRecordSize - 68), 0);
}

}  // namespace

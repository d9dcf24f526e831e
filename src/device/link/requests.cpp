#include "requests.h"

#include <cstring>
#include <memory>

#include "ft_transport.h"
#include "records.h"

namespace {

uint16_t Word(const uint8_t* bytes) {
  return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

// Copies `count` little-endian words from the reply into the record's fields.
void Words(const uint8_t* bytes, uint16_t* into, int count) {
  for (int i = 0; i < count; ++i)
    into[i] = Word(bytes + 2 * i);
}

}  // namespace

void BuildParameterRequest(uint8_t request[kRequestLength]) {
  const uint8_t bytes[kRequestLength] = {0x42, 0x00, 0x00, 0x19, 0x19};
  std::memcpy(request, bytes, kRequestLength);
}

void BuildWaveformRequest(uint8_t request[kRequestLength], int32_t log2N, uint8_t slot) {
  const uint32_t n = 1u << log2N;
  request[0] = 0x42;
  request[1] = 0x00;
  request[2] = 0x00;
  // The instrument takes the sample count in units of 256.
  request[3] = static_cast<uint8_t>(n >> 8);
  request[4] = static_cast<uint8_t>(0xD0 + slot);
}

int32_t WaveformReplyLength(int32_t log2N) {
  return 2 * (1 << log2N) + 2;
}

void DecodeParameterReply(const uint8_t reply[kParameterReplyLength], TMeasRecord& record) {
  // Each group travels as slopes, breakpoints, values, gain; range 1 carries three points only.
  TKalibrConsts& range0 = record.kalibr[0];
  Words(reply + 20, range0.A, 5);
  Words(reply + 30, range0.X, 5);
  Words(reply + 40, range0.Y, 5);
  range0.DC = Word(reply + 50);
  TKalibrConsts& range1 = record.kalibr[1];
  Words(reply + 52, range1.A, 3);
  Words(reply + 58, range1.X, 3);
  Words(reply + 64, range1.Y, 3);
  range1.DC = Word(reply + 70);
  record.zeroOffset = static_cast<int16_t>(Word(reply + 72));
}

void DecodeWaveformReply(const uint8_t* reply, int32_t sampleCount, TMeasRecord& record) {
  const uint16_t header = Word(reply);
  // Bit 15 set is the 0.01 kV range 0; bits 0-14 the sampling clock divider.
  record.clockDivider = header & 0x7FFF;
  record.range = (header & 0x8000) ? 0 : 1;
  for (int32_t i = 0; i < sampleCount; ++i) {
    record.samples[i] = static_cast<int16_t>(Word(reply + 2 + 2 * i));
  }
}

void FetchKalibr(uint8_t reply[kParameterReplyLength]) {
  uint8_t request[kRequestLength];
  BuildParameterRequest(request);
  while (FtTransaction(request, kRequestLength, reply, kParameterReplyLength) !=
         kParameterReplyLength) {
    LinkPause(kParameterRetryMs);
  }
}

bool FetchFrame(int32_t log2N, uint8_t slot, uint8_t reply[kMaxFrameLength]) {
  // The request carries N in units of 256 and the reply buffer holds at most 16,384 samples.
  if (log2N < 8 || log2N > kMaxLog2N)
    return false;
  std::memset(reply, 0, kMaxFrameLength);
  uint8_t request[kRequestLength];
  BuildWaveformRequest(request, log2N, slot);
  const int32_t expected = WaveformReplyLength(log2N);
  while (FtTransaction(request, kRequestLength, reply, expected) != expected) {
    LinkPause(kFrameRetryMs);
  }
  return true;
}

int32_t ReadKalibr(TMeasRecord* record) {
  uint8_t reply[kParameterReplyLength];
  FetchKalibr(reply);
  std::lock_guard<std::mutex> hold(RecordLock(*record));
  DecodeParameterReply(reply, *record);
  return 0;
}

int32_t ReadSignal(TMeasRecord* record, uint8_t slot) {
  auto reply = std::make_unique<uint8_t[]>(kMaxFrameLength);
  if (!FetchFrame(record->log2N, slot, reply.get()))
    return 0;
  std::lock_guard<std::mutex> hold(RecordLock(*record));
  DecodeWaveformReply(reply.get(), 1 << record->log2N, *record);
  return 0;
}

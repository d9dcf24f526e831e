#include "request_parser.h"

namespace sim {
namespace {

constexpr uint8_t kStart = 0x42;
constexpr uint8_t kParameterCode = 0x19;
constexpr uint8_t kLiveSlotCode = 0xD0;
// The instrument holds at most 16,384 samples: count bytes 1..0x40.
constexpr uint8_t kMaxCountByte = 0x40;

}  // namespace

Request RequestParser::Decode(const uint8_t (&bytes)[5]) {
  Request request;
  if (bytes[0] != kStart || bytes[1] != 0 || bytes[2] != 0)
    return request;
  if (bytes[3] == kParameterCode && bytes[4] == kParameterCode) {
    request.kind = Request::kParameters;
  } else if (bytes[3] >= 1 && bytes[3] <= kMaxCountByte && (bytes[4] & 0xF0) == kLiveSlotCode) {
    request.kind = Request::kWaveform;
    request.samples = 256u * bytes[3];
    request.slot = bytes[4] - kLiveSlotCode;
  }
  return request;
}

void RequestParser::DropFirst() {
  // Slide the window by one and keep dropping until a 42 leads it again.
  do {
    for (int i = 1; i < length_; ++i)
      window_[i - 1] = window_[i];
    --length_;
    ++dropped_;
  } while (length_ > 0 && window_[0] != kStart);
}

Request RequestParser::Feed(uint8_t byte) {
  if (length_ == 0 && byte != kStart) {
    ++dropped_;
    return Request();
  }
  window_[length_++] = byte;
  if (length_ < 5)
    return Request();
  Request request = Decode(window_);
  if (request.kind == Request::kNone) {
    DropFirst();
  } else {
    length_ = 0;
  }
  return request;
}

}  // namespace sim

// The instrument's side of the wire: turns the byte stream from the PC into requests.
#pragma once

#include <cstdint>

namespace sim {

struct Request {
  enum Kind { kNone, kParameters, kWaveform } kind = kNone;
  uint32_t samples = 0;  // waveform: 256 times the count byte
  uint32_t slot = 0;     // waveform: 0 live, 1..15 memory
};

// Requests are five bytes, 42 00 00 a b, with no framing. A byte that cannot begin a request is
// dropped; a five-byte window that is no known request loses its first byte and the search for
// 42 goes on in the rest, so the parser falls back into step after noise or a lost byte.
class RequestParser {
 public:
  // Takes one byte; returns the request it completes, if any.
  Request Feed(uint8_t byte);
  void Reset() { length_ = 0; }
  // Bytes thrown away while resynchronising.
  uint32_t dropped() const { return dropped_; }

 private:
  static Request Decode(const uint8_t (&bytes)[5]);
  void DropFirst();

  uint8_t window_[5] = {};
  int length_ = 0;
  uint32_t dropped_ = 0;
};

}  // namespace sim

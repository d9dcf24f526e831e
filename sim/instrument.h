// The VRX-470 itself, behind its FT232: it reads requests from the byte stream and queues its
// replies, with the reply faults of the scenario. No locking and no clock: the simulator owns it.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <utility>
#include <vector>

#include "request_parser.h"
#include "scenario.h"

namespace sim {

class Instrument {
 public:
  explicit Instrument(const Scenario& scenario);

  // One byte from the PC. A request it completes queues the reply onto `out`.
  Request Receive(uint8_t byte, std::deque<uint8_t>* out);
  // Power lost: a half-received request is forgotten.
  void Restart() { parser_.Reset(); }

  uint32_t droppedBytes() const { return parser_.dropped(); }
  uint32_t liveFrames() const { return liveFrames_; }

 private:
  std::vector<uint8_t> LiveFrame(uint32_t samples);
  const std::vector<uint8_t>& MemoryFrame(uint32_t slot, uint32_t samples);
  void Send(std::vector<uint8_t> reply, std::deque<uint8_t>* out);

  Scenario scenario_;
  RequestParser parser_;
  uint32_t liveFrames_ = 0;
  uint32_t shortLeft_;
  uint32_t longLeft_;
  // Stored records do not change: each slot and length is built once.
  std::map<std::pair<uint32_t, uint32_t>, std::vector<uint8_t>> memory_;
};

}  // namespace sim

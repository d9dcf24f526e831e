// How the bytes an FT232R receives from the instrument reach the PC at the real line rate. The chip
// sends 64-byte USB packets of 62 data bytes; the driver asks for transfers of `transfer` bytes (64
// packets of 64 by default: 3,968 data bytes) and sees nothing of a transfer until it is complete,
// full or ended by a short packet. The chip sends a short packet only once its latency timer has
// run out with bytes waiting. So received bytes become visible in whole transfers and, for the
// rest, a latency after the last of them came in, unless more come before that. No locking and no
// waiting: the simulator owns it and asks it what is visible when.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace sim {

class UsbDelivery {
 public:
  using Clock = std::chrono::steady_clock;

  static constexpr uint32_t kDefaultTransfer = 4096;
  static constexpr uint32_t kDefaultLatencyMs = 16;
  // Each 64-byte packet carries two status bytes.
  static constexpr uint32_t kPacket = 64;
  static constexpr uint32_t kPacketData = 62;

  UsbDelivery(uint32_t transfer = kDefaultTransfer, uint32_t latencyMs = kDefaultLatencyMs);

  // `bytes` set off from the instrument at `from`, one every `byteTime`, once the line has carried
  // what was sent before them.
  void Send(size_t bytes, Clock::time_point from, Clock::duration byteTime);
  // How many of the bytes not yet taken the driver can hand over at `now`.
  size_t Visible(Clock::time_point now) const;
  // When the first `count` of the bytes not yet taken will be visible; never, if fewer are coming.
  std::optional<Clock::time_point> VisibleAt(size_t count) const;
  // The PC took the first `count` visible bytes.
  void Take(size_t count);
  // The instrument stops sending at `now` (it lost its power): what has not reached the chip by
  // then never comes. Returns how many bytes are lost; they are the last ones sent.
  size_t StopAt(Clock::time_point now);
  // The chip's and the driver's buffers are emptied; the instrument's line is not.
  void Clear();

 private:
  // Bytes that travel the line one after another from `start`: byte k reaches the chip at
  // start + (k + 1) * byteTime.
  struct Stretch {
    size_t bytes;
    Clock::time_point start;
    Clock::duration byteTime;
  };
  // From `at` on, the first `total` bytes since the last Clear are visible.
  struct Step {
    size_t total;
    Clock::time_point at;
  };
  std::vector<Step> Steps() const;

  size_t transferData_;
  Clock::duration latency_;
  std::deque<Stretch> stretches_;
  size_t taken_ = 0;
  Clock::time_point lineFreeAt_{};
};

}  // namespace sim

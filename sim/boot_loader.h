// The VRX-470's boot loader, which the instrument runs after a power cycle with its power button
// held: it announces itself, takes the flash image, acknowledges it, sends two bytes and its
// EEPROM unasked, takes the EEPROM image, acknowledges it and starts the firmware again. It checks
// the CRC of each image and can write each one into a file for the tests. No locking: the
// simulator owns it.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "scenario.h"

namespace sim {

class BootLoader {
 public:
  using Clock = std::chrono::steady_clock;

  explicit BootLoader(const Scenario& scenario);

  // True while the instrument runs its boot loader; otherwise its firmware answers requests.
  bool Active() const { return phase_ != Phase::kFirmware; }
  // One byte from the PC, while Active; what the boot loader answers goes onto `out`, the chip's
  // queue.
  void Receive(uint8_t byte, Clock::time_point now, std::deque<uint8_t>* out);
  // The passing of time, on every driver call while the instrument is attached: the first
  // announcement, and at the real rate a partial image dropped after a pause and an announcement
  // repeated once the PC has taken the last one.
  void Tick(Clock::time_point now, std::deque<uint8_t>* out);
  // A read of the PC came back short: its time-out ran out.
  void ReadCameShort(std::deque<uint8_t>* out);
  // The instrument was switched on again, into the boot loader or its firmware: an image half
  // received is forgotten, the EEPROM keeps what it holds.
  void PowerUp(bool bootLoader);

 private:
  enum class Phase { kWaiting, kFlash, kEeprom, kFirmware };

  void Announce(std::deque<uint8_t>* out);
  void Restart(std::deque<uint8_t>* out);
  void ImageComplete(std::deque<uint8_t>* out);
  uint16_t Acknowledgement(bool crcGood, const std::optional<uint16_t>& fault) const;
  void SaveImage(const char* name) const;

  Scenario scenario_;
  Phase phase_;
  bool splitNext_;
  bool announced_ = false;
  std::vector<uint8_t> image_;   // the image being received
  std::vector<uint8_t> eeprom_;  // the microcontroller's EEPROM
  std::vector<uint8_t> held_;    // the part of a split announcement still to come
  Clock::time_point lastByte_;
  std::optional<Clock::time_point> takenAt_;
};

}  // namespace sim

#include "boot_loader.h"

#include "crc16.h"
#include "file.h"
#include "folders.h"

namespace sim {
namespace {

// The ATmega162's flash and EEPROM.
constexpr size_t kFlashSize = 14336;
constexpr size_t kEepromSize = 512;
// At the real rate: a pause this long inside an image drops it, and an announcement the PC has
// taken is repeated this long after, while no image has begun.
constexpr auto kDropAfter = std::chrono::milliseconds(500);
constexpr auto kAnnounceAgainAfter = std::chrono::milliseconds(1000);
// The answer to an image whose CRC does not match.
constexpr uint16_t kCrcMismatch = 0xFFFF;

void Put(uint16_t word, std::deque<uint8_t>* out) {
  out->push_back(static_cast<uint8_t>(word >> 8));
  out->push_back(static_cast<uint8_t>(word & 0xFF));
}

uint16_t ImageCrc(const std::vector<uint8_t>& image) {
  return Crc16(image.data(), static_cast<int32_t>(image.size() - 2));
}

// The last two bytes carry the CRC of all before them, high byte first.
bool CrcGood(const std::vector<uint8_t>& image) {
  const size_t n = image.size();
  return ImageCrc(image) == ((image[n - 2] << 8) | image[n - 1]);
}

}  // namespace

BootLoader::BootLoader(const Scenario& scenario)
    : scenario_(scenario),
      phase_(scenario.bootLoader ? Phase::kWaiting : Phase::kFirmware),
      splitNext_(scenario.bootSplit),
      eeprom_(kEepromSize) {
  // What the EEPROM held before the update: a pattern a test can tell from any image.
  for (size_t i = 0; i < kEepromSize; ++i)
    eeprom_[i] = static_cast<uint8_t>(0xA5 ^ i);
}

void BootLoader::Announce(std::deque<uint8_t>* out) {
  announced_ = true;
  takenAt_.reset();
  if (scenario_.silent)
    return;
  const uint8_t first = static_cast<uint8_t>(scenario_.bootAnnouncement >> 8);
  const uint8_t second = static_cast<uint8_t>(scenario_.bootAnnouncement & 0xFF);
  out->push_back(first);
  if (splitNext_) {
    // The second byte comes late, and the boot loader announces itself again right after it.
    held_ = {second, first, second};
    splitNext_ = false;
    return;
  }
  out->push_back(second);
}

void BootLoader::ReadCameShort(std::deque<uint8_t>* out) {
  out->insert(out->end(), held_.begin(), held_.end());
  held_.clear();
}

void BootLoader::PowerUp(bool bootLoader) {
  phase_ = bootLoader ? Phase::kWaiting : Phase::kFirmware;
  splitNext_ = scenario_.bootSplit;
  announced_ = false;
  image_.clear();
  held_.clear();
  takenAt_.reset();
}

void BootLoader::Restart(std::deque<uint8_t>* out) {
  phase_ = Phase::kWaiting;
  image_.clear();
  Announce(out);
}

void BootLoader::Tick(Clock::time_point now, std::deque<uint8_t>* out) {
  if (phase_ == Phase::kWaiting && !announced_)
    Announce(out);
  if (scenario_.rate != LineRate::kReal)
    return;
  if ((phase_ == Phase::kFlash || phase_ == Phase::kEeprom) && !image_.empty() &&
      now - lastByte_ > kDropAfter) {
    Restart(out);
  } else if (phase_ == Phase::kWaiting && held_.empty()) {
    // Nobody answered: once the PC has taken the announcement, it is repeated after a while.
    if (!out->empty()) {
      takenAt_.reset();
    } else if (!takenAt_) {
      takenAt_ = now;
    } else if (now - *takenAt_ >= kAnnounceAgainAfter) {
      Announce(out);
    }
  }
}

void BootLoader::Receive(uint8_t byte, Clock::time_point now, std::deque<uint8_t>* out) {
  if (phase_ == Phase::kWaiting)
    phase_ = Phase::kFlash;
  lastByte_ = now;
  image_.push_back(byte);
  if (image_.size() == (phase_ == Phase::kFlash ? kFlashSize : kEepromSize))
    ImageComplete(out);
}

void BootLoader::ImageComplete(std::deque<uint8_t>* out) {
  const bool flash = phase_ == Phase::kFlash;
  SaveImage(flash ? "flash.bin" : "eeprom.bin");
  const uint16_t answer =
      Acknowledgement(CrcGood(image_), flash ? scenario_.bootFlashAck : scenario_.bootEepromAck);
  if (!scenario_.silent)
    Put(answer, out);
  if (answer != 0) {
    // Refused: the boot loader waits for a flash image again.
    Restart(out);
    return;
  }
  if (flash) {
    // Two further bytes, the CRC it computed, and the EEPROM as it stands, all unasked.
    if (!scenario_.silent) {
      Put(ImageCrc(image_), out);
      out->insert(out->end(), eeprom_.begin(), eeprom_.end());
    }
    phase_ = Phase::kEeprom;
    image_.clear();
    return;
  }
  eeprom_ = image_;
  image_.clear();
  phase_ = Phase::kFirmware;
}

uint16_t BootLoader::Acknowledgement(bool crcGood, const std::optional<uint16_t>& fault) const {
  if (fault)
    return *fault;
  return crcGood ? 0x0000 : kCrcMismatch;
}

void BootLoader::SaveImage(const char* name) const {
  if (scenario_.bootImages.empty())
    return;
  os::File file = os::File::Open(scenario_.bootImages + os::PathSeparator() + name,
                                 os::File::Mode::kCreateReadWrite);
  file.Write(image_.data(), image_.size());
}

}  // namespace sim

// The scenario of the simulated instrument: which devices are attached, how fast the line is and
// which faults are switched on, read from `key = value` text (see README.md for every key).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

enum class LineRate { kInstant, kReal };

struct Scenario {
  // Device 0 is the instrument; devices 1.. are plain FT232R chips that answer nothing.
  uint32_t devices = 1;
  std::string description = "VRX-470";
  std::string serial = "VRX47001";
  uint32_t location = 0x1011;  // device k sits at location + k
  std::vector<uint32_t> busy;  // indices reported busy by another process
  bool busyOpens = false;      // whether a busy device can be opened all the same

  // Faults of the calls that write the USB identity, each a device list or a switch.
  bool listFails = false;                // FT_CreateDeviceInfoList fails
  bool listInfoFails = false;            // FT_GetDeviceInfoList fails
  std::vector<uint32_t> refuseOpen;      // devices that no open reaches
  std::vector<uint32_t> eeReadFails;     // devices whose FT_EE_Read fails
  std::vector<uint32_t> eeProgramFails;  // devices whose FT_EE_Program fails
  uint32_t cyclePortMs = 0;              // a cycled port is off the bus this long
  std::string eepromFile;                // rewritten with every chip's EEPROM after each change

  bool attached = true;
  uint32_t attachAfterMs = 0;  // nonzero: the instrument appears this long after configuring

  // 0 = never. The K-th byte written since configuring fails and the instrument is gone.
  uint32_t unplugAtByte = 0;
  int64_t replugAfterMs = -1;  // negative: stays unplugged until plugged by hand

  LineRate rate = LineRate::kInstant;
  // How received bytes reach the PC at the real rate: the driver's USB transfer size in bytes and
  // the chip's latency timer (see usb_delivery.h), and how long the instrument takes to begin an
  // answer.
  uint32_t usbTransfer = 4096;
  uint32_t latencyMs = 16;
  uint32_t replyDelayMs = 0;
  bool silent = false;
  uint32_t shortReplies = 0;  // the next C replies come D bytes short
  uint32_t shortBy = 1;
  uint32_t longReplies = 0;  // the next C replies carry D extra bytes
  uint32_t longBy = 1;
  std::vector<uint8_t> ranges;  // ranges of successive live frames; the last one repeats
  uint32_t refuseBaud = 0;      // the first C baud-rate calls are refused
  uint32_t refuseWrites = 0;    // the next C writes fail while the link's status stays good

  // The live signal.
  double rmsKv = 10.0;
  double frequencyHz = 50.0;
  uint16_t clockDivider = 3125;  // 16 MHz / 3125 = 5,120 samples per second
  uint64_t seed = 470;

  std::string trace;  // file that gets one line per driver call; empty = no trace

  // The boot loader, as after a power cycle with the power button held.
  bool bootLoader = false;
  uint16_t bootAnnouncement = 0x7788;     // its two bytes, high byte first
  bool bootSplit = false;                 // the announcement's second byte comes after a time-out
  std::optional<uint16_t> bootFlashAck;   // sent for a flash image whatever its CRC
  std::optional<uint16_t> bootEepromAck;  // the same for an EEPROM image
  std::string bootImages;                 // folder that gets flash.bin and eeprom.bin; empty = none
};

// Whether a scenario's list of device indices names `device`.
bool ListsDevice(const std::vector<uint32_t>& devices, uint32_t device);

// Parses scenario text over the defaults. On a bad line returns false and says which line and why
// in `error`; `scenario` is then left at the defaults.
bool ParseScenario(const std::string& text, Scenario* scenario, std::string* error);

}  // namespace sim

#include "scenario.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>
#include <utility>

namespace sim {
namespace {

std::string Trim(const std::string& text) {
  const char* blanks = " \t\r\n";
  size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos)
    return "";
  size_t last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

// Decimal or 0x-prefixed hexadecimal, the whole text, within [0, limit].
bool ParseUnsigned(const std::string& text, uint64_t limit, uint64_t* value) {
  if (text.empty() || text[0] == '-' || text[0] == '+')
    return false;
  errno = 0;
  char* end = nullptr;
  unsigned long long parsed = std::strtoull(text.c_str(), &end, 0);
  if (errno != 0 || *end != '\0' || parsed > limit)
    return false;
  *value = parsed;
  return true;
}

bool ParseDouble(const std::string& text, double low, double high, double* value) {
  if (text.empty())
    return false;
  errno = 0;
  char* end = nullptr;
  double parsed = std::strtod(text.c_str(), &end);
  if (errno != 0 || *end != '\0' || !(parsed >= low && parsed <= high))
    return false;
  *value = parsed;
  return true;
}

bool ParseBool(const std::string& text, bool* value) {
  if (text == "1" || text == "yes" || text == "true") {
    *value = true;
  } else if (text == "0" || text == "no" || text == "false") {
    *value = false;
  } else {
    return false;
  }
  return true;
}

template <typename T>
bool ParseList(const std::string& text, uint64_t limit, std::vector<T>* values) {
  values->clear();
  if (text.empty())
    return true;
  std::stringstream items(text);
  std::string item;
  while (std::getline(items, item, ',')) {
    uint64_t value = 0;
    if (!ParseUnsigned(Trim(item), limit, &value))
      return false;
    values->push_back(static_cast<T>(value));
  }
  return true;
}

// A whole number from `low` to `limit` that is a multiple of `step`.
template <typename T>
std::function<bool(const std::string&)> Number(T* field, uint64_t limit, uint64_t low = 0,
                                               uint64_t step = 1) {
  return [field, limit, low, step](const std::string& text) {
    uint64_t value = 0;
    if (!ParseUnsigned(text, limit, &value) || value < low || value % step != 0)
      return false;
    *field = static_cast<T>(value);
    return true;
  };
}

// A two-byte acknowledgement, high byte first: 0x0001 is 00 01.
std::function<bool(const std::string&)> Acknowledgement(std::optional<uint16_t>* field) {
  return [field](const std::string& text) {
    uint64_t value = 0;
    if (!ParseUnsigned(text, 0xFFFF, &value))
      return false;
    *field = static_cast<uint16_t>(value);
    return true;
  };
}

using Setters = std::map<std::string, std::function<bool(const std::string&)>>;

Setters SettersFor(Scenario* s) {
  const uint64_t kU32 = 0xFFFFFFFFu;
  Setters setters;
  // At least the instrument, and no more chips than a hub full of them.
  setters["devices"] = Number(&s->devices, 16, 1);
  // The device list keeps 16 and 64 bytes with the terminating zero.
  setters["description"] = [s](const std::string& text) {
    if (text.size() > 63)
      return false;
    s->description = text;
    return true;
  };
  setters["serial"] = [s](const std::string& text) {
    if (text.size() > 15)
      return false;
    s->serial = text;
    return true;
  };
  setters["location"] = Number(&s->location, kU32 - 16);
  setters["busy"] = [s](const std::string& text) { return ParseList(text, 15, &s->busy); };
  setters["busy_opens"] = [s](const std::string& text) { return ParseBool(text, &s->busyOpens); };
  setters["list_fails"] = [s](const std::string& text) { return ParseBool(text, &s->listFails); };
  setters["list_info_fails"] = [s](const std::string& text) {
    return ParseBool(text, &s->listInfoFails);
  };
  setters["refuse_open"] = [s](const std::string& text) {
    return ParseList(text, 15, &s->refuseOpen);
  };
  setters["ee_read_fails"] = [s](const std::string& text) {
    return ParseList(text, 15, &s->eeReadFails);
  };
  setters["ee_program_fails"] = [s](const std::string& text) {
    return ParseList(text, 15, &s->eeProgramFails);
  };
  setters["cycle_port_ms"] = Number(&s->cyclePortMs, 60000);
  setters["eeprom_file"] = [s](const std::string& text) {
    s->eepromFile = text;
    return true;
  };
  setters["attached"] = [s](const std::string& text) { return ParseBool(text, &s->attached); };
  setters["attach_after_ms"] = Number(&s->attachAfterMs, kU32);
  setters["unplug_at_byte"] = Number(&s->unplugAtByte, kU32);
  setters["replug_after_ms"] = Number(&s->replugAfterMs, kU32);
  setters["rate"] = [s](const std::string& text) {
    if (text == "instant") {
      s->rate = LineRate::kInstant;
    } else if (text == "real") {
      s->rate = LineRate::kReal;
    } else {
      return false;
    }
    return true;
  };
  // Whole 64-byte packets, as the driver asks for them; the range the chip's latency timer takes.
  setters["usb_transfer"] = Number(&s->usbTransfer, 65536, 64, 64);
  setters["latency_ms"] = Number(&s->latencyMs, 255, 1);
  setters["reply_delay_ms"] = Number(&s->replyDelayMs, 10000);
  setters["silent"] = [s](const std::string& text) { return ParseBool(text, &s->silent); };
  setters["short_replies"] = Number(&s->shortReplies, kU32);
  setters["short_by"] = Number(&s->shortBy, 65536);
  setters["long_replies"] = Number(&s->longReplies, kU32);
  setters["long_by"] = Number(&s->longBy, 65536);
  setters["ranges"] = [s](const std::string& text) { return ParseList(text, 1, &s->ranges); };
  setters["refuse_baud"] = Number(&s->refuseBaud, kU32);
  setters["refuse_writes"] = Number(&s->refuseWrites, kU32);
  // Up to the peak that range 0 can still show without clipping.
  setters["rms_kv"] = [s](const std::string& text) {
    return ParseDouble(text, 0.0, 35.0, &s->rmsKv);
  };
  setters["frequency_hz"] = [s](const std::string& text) {
    return ParseDouble(text, 0.0, 2000.0, &s->frequencyHz);
  };
  // The header word keeps the divider in 15 bits.
  setters["clock_divider"] = Number(&s->clockDivider, 0x7FFF, 1);
  setters["seed"] = Number(&s->seed, ~uint64_t{0});
  setters["trace"] = [s](const std::string& text) {
    s->trace = text;
    return true;
  };
  setters["boot_loader"] = [s](const std::string& text) { return ParseBool(text, &s->bootLoader); };
  setters["boot_announcement"] = Number(&s->bootAnnouncement, 0xFFFF);
  setters["boot_split"] = [s](const std::string& text) { return ParseBool(text, &s->bootSplit); };
  setters["boot_flash_ack"] = Acknowledgement(&s->bootFlashAck);
  setters["boot_eeprom_ack"] = Acknowledgement(&s->bootEepromAck);
  setters["boot_images"] = [s](const std::string& text) {
    s->bootImages = text;
    return true;
  };
  return setters;
}

}  // namespace

bool ListsDevice(const std::vector<uint32_t>& devices, uint32_t device) {
  return std::find(devices.begin(), devices.end(), device) != devices.end();
}

bool ParseScenario(const std::string& text, Scenario* scenario, std::string* error) {
  Scenario parsed;
  Setters setters = SettersFor(&parsed);
  std::stringstream lines(text);
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    size_t comment = line.find('#');
    if (comment != std::string::npos)
      line.erase(comment);
    line = Trim(line);
    if (line.empty())
      continue;
    size_t equals = line.find('=');
    std::string why;
    if (equals == std::string::npos) {
      why = "expected key = value";
    } else {
      std::string key = Trim(line.substr(0, equals));
      auto setter = setters.find(key);
      if (setter == setters.end()) {
        why = "unknown key '" + key + "'";
      } else if (!setter->second(Trim(line.substr(equals + 1)))) {
        why = "bad value for '" + key + "'";
      }
    }
    if (!why.empty()) {
      if (error)
        *error = "line " + std::to_string(number) + ": " + why;
      *scenario = Scenario();
      return false;
    }
  }
  const std::pair<const char*, const std::vector<uint32_t>*> deviceLists[] = {
      {"busy", &parsed.busy},
      {"refuse_open", &parsed.refuseOpen},
      {"ee_read_fails", &parsed.eeReadFails},
      {"ee_program_fails", &parsed.eeProgramFails},
  };
  for (const auto& [key, list] : deviceLists) {
    for (uint32_t index : *list) {
      if (index >= parsed.devices) {
        if (error)
          *error =
              std::string(key) + " names device " + std::to_string(index) + " beyond 'devices'";
        *scenario = Scenario();
        return false;
      }
    }
  }
  *scenario = parsed;
  return true;
}

}  // namespace sim

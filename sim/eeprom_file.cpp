#include "eeprom_file.h"

#include <cstdio>

#include "file.h"

namespace sim {

std::string EepromImagesText(const std::vector<const Eeprom*>& chips) {
  std::string text;
  for (size_t k = 0; k < chips.size(); ++k) {
    const Eeprom& chip = *chips[k];
    text += "device=" + std::to_string(k) + "\tfields=";
    const auto* bytes = reinterpret_cast<const unsigned char*>(&chip.fields);
    for (size_t i = 0; i < sizeof chip.fields; ++i) {
      char pair[3];
      std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
      text += pair;
    }
    text += "\tmanufacturer=" + chip.manufacturer + "\tmanufacturer_id=" + chip.manufacturerId +
            "\tdescription=" + chip.description + "\tserial=" + chip.serial + "\n";
  }
  return text;
}

void WriteEepromFile(const std::string& path, const std::vector<const Eeprom*>& chips) {
  const std::string text = EepromImagesText(chips);
  os::File file = os::File::Open(path, os::File::Mode::kCreateReadWrite);
  if (file.IsOpen())
    file.Write(text.data(), text.size());
}

}  // namespace sim

// The simulator's EEPROM file (scenario key eeprom_file) read back, and the rule a programmed
// chip must keep: only the manufacturer, the description and the D2XX flag change.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "d2xx.h"

struct ChipImage {
  std::vector<unsigned char> fields;  // the bytes of its FT_PROGRAM_DATA record
  std::string manufacturer;
  std::string manufacturerId;
  std::string description;
  std::string serial;
};

// One image per line of the file, in device order.
inline std::vector<ChipImage> ParseEepromImages(const std::string& text) {
  std::vector<ChipImage> chips;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    ChipImage chip;
    std::istringstream items(line);
    std::string item;
    while (std::getline(items, item, '\t')) {
      const std::size_t equals = item.find('=');
      const std::string key = item.substr(0, equals);
      const std::string value = equals == std::string::npos ? "" : item.substr(equals + 1);
      if (key == "fields") {
        for (std::size_t i = 0; i + 1 < value.size(); i += 2)
          chip.fields.push_back(
              static_cast<unsigned char>(std::strtoul(value.substr(i, 2).c_str(), nullptr, 16)));
      } else if (key == "manufacturer") {
        chip.manufacturer = value;
      } else if (key == "manufacturer_id") {
        chip.manufacturerId = value;
      } else if (key == "description") {
        chip.description = value;
      } else if (key == "serial") {
        chip.serial = value;
      }
    }
    chips.push_back(chip);
  }
  return chips;
}

// The images in the simulator's file at `path`.
inline std::vector<ChipImage> ReadEepromImages(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return ParseEepromImages(text.str());
}

// What a chip programmed with the program's identity shows, compared with its image before;
// empty when only the three fields changed and they hold the identity.
inline std::string IdentityProblems(const ChipImage& before, const ChipImage& after) {
  const std::size_t flag = offsetof(FT_PROGRAM_DATA, RIsD2XX);
  std::string problems;
  if (after.manufacturer != "halvorinkastel")
    problems += " manufacturer \"" + after.manufacturer + "\";";
  if (after.description != "VRX-470")
    problems += " description \"" + after.description + "\";";
  if (after.fields.size() != sizeof(FT_PROGRAM_DATA) ||
      before.fields.size() != sizeof(FT_PROGRAM_DATA))
    return problems + " a record of " + std::to_string(after.fields.size()) + " bytes;";
  if (after.fields[flag] != 1)
    problems += " RIsD2XX " + std::to_string(after.fields[flag]) + ";";
  for (std::size_t i = 0; i < after.fields.size(); ++i) {
    if (i != flag && after.fields[i] != before.fields[i])
      problems += " byte " + std::to_string(i) + " changed;";
  }
  if (after.manufacturerId != before.manufacturerId || after.serial != before.serial)
    problems += " the manufacturer id or serial number changed;";
  return problems;
}

#include "eeprom.h"

#include <cstring>

namespace sim {
namespace {

constexpr size_t kManufacturerSize = 32;
constexpr size_t kManufacturerIdSize = 16;
constexpr size_t kDescriptionSize = 64;
constexpr size_t kSerialSize = 16;

// The record up to RIsD2XX: the part a version-2 caller is sure to have passed.
constexpr size_t kFieldsBegin = offsetof(FT_PROGRAM_DATA, VendorId);
constexpr size_t kFieldsEnd = offsetof(FT_PROGRAM_DATA, RIsD2XX) + 1;

bool HeaderValid(const FT_PROGRAM_DATA* data) {
  return data && data->Signature1 == 0 && data->Signature2 == 0xFFFFFFFFu && data->Version >= 2;
}

void CopyOut(const std::string& text, char* buffer, size_t size) {
  if (!buffer)
    return;
  size_t length = text.size() < size ? text.size() : size - 1;
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

bool CopyIn(const char* buffer, size_t size, std::string* text) {
  if (!buffer)
    return false;
  const void* end = std::memchr(buffer, '\0', size);
  if (!end)
    return false;
  text->assign(buffer, static_cast<const char*>(end));
  return true;
}

}  // namespace

Eeprom FactoryEeprom(const std::string& description, const std::string& serial, uint32_t chip) {
  Eeprom eeprom;
  FT_PROGRAM_DATA& f = eeprom.fields;
  // The single-byte flags from Rev4 to Cbus4 get values of this chip's own.
  auto* bytes = reinterpret_cast<uint8_t*>(&f);
  for (size_t at = offsetof(FT_PROGRAM_DATA, Rev4); at <= offsetof(FT_PROGRAM_DATA, Cbus4); ++at)
    bytes[at] = static_cast<uint8_t>(0x21 + 3 * at + 29 * chip);
  f.VendorId = 0x0403;
  f.ProductId = 0x6001;
  f.MaxPower = static_cast<uint16_t>(90 + 2 * chip);
  f.PnP = 1;
  f.SelfPowered = 0;
  f.RemoteWakeup = 1;
  f.USBVersion = 0x0200;
  f.USBVersion5 = 0x0200;
  f.SerNumEnableR = 1;
  f.Cbus0 = 3;  // the usual CBUS defaults: power enable, sleep, LEDs and clock
  f.Cbus1 = 2;
  f.Cbus2 = 0;
  f.Cbus3 = 1;
  f.Cbus4 = 5;
  f.RIsD2XX = 0;  // a fresh chip serves the virtual COM port driver
  eeprom.manufacturer = "FTDI";
  eeprom.manufacturerId = "FT";
  eeprom.description = description;
  eeprom.serial = serial;
  return eeprom;
}

FT_STATUS ReadEeprom(const Eeprom& eeprom, FT_PROGRAM_DATA* data) {
  if (!HeaderValid(data))
    return FT_INVALID_PARAMETER;
  char* manufacturer = data->Manufacturer;
  char* manufacturerId = data->ManufacturerId;
  char* description = data->Description;
  char* serial = data->SerialNumber;
  std::memcpy(reinterpret_cast<char*>(data) + kFieldsBegin,
              reinterpret_cast<const char*>(&eeprom.fields) + kFieldsBegin,
              kFieldsEnd - kFieldsBegin);
  data->Manufacturer = manufacturer;
  data->ManufacturerId = manufacturerId;
  data->Description = description;
  data->SerialNumber = serial;
  CopyOut(eeprom.manufacturer, manufacturer, kManufacturerSize);
  CopyOut(eeprom.manufacturerId, manufacturerId, kManufacturerIdSize);
  CopyOut(eeprom.description, description, kDescriptionSize);
  CopyOut(eeprom.serial, serial, kSerialSize);
  return FT_OK;
}

FT_STATUS ProgramEeprom(const FT_PROGRAM_DATA* data, Eeprom* eeprom) {
  if (!HeaderValid(data))
    return FT_INVALID_PARAMETER;
  Eeprom next;
  if (!CopyIn(data->Manufacturer, kManufacturerSize, &next.manufacturer) ||
      !CopyIn(data->ManufacturerId, kManufacturerIdSize, &next.manufacturerId) ||
      !CopyIn(data->Description, kDescriptionSize, &next.description) ||
      !CopyIn(data->SerialNumber, kSerialSize, &next.serial)) {
    return FT_INVALID_PARAMETER;
  }
  // The chip's string area holds no more than this.
  if (next.manufacturer.size() + next.description.size() > 40)
    return FT_INVALID_PARAMETER;
  std::memcpy(reinterpret_cast<char*>(&next.fields) + kFieldsBegin,
              reinterpret_cast<const char*>(data) + kFieldsBegin, kFieldsEnd - kFieldsBegin);
  next.fields.Manufacturer = next.fields.ManufacturerId = nullptr;
  next.fields.Description = next.fields.SerialNumber = nullptr;
  *eeprom = next;
  return FT_OK;
}

}  // namespace sim

#include "ft_ident.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <vector>

#include "d2xx.h"
#include "ft_transport.h"

namespace {

// The string buffers handed to the driver, of the sizes its published interface expects.
struct IdentStrings {
  char manufacturer[32];
  char manufacturerId[16];
  char description[64];
  char serialNumber[16];
};

// Room for the longest line (a Cyrillic text with a 64-character description) in UTF-8.
constexpr int kLineSize = 200;

__attribute__((format(printf, 2, 3))) void AddFormattedLine(FtIdentMemo& memo, const char* format,
                                                            ...) {
  char line[kLineSize];
  va_list values;
  va_start(values, format);
  std::vsnprintf(line, sizeof line, format, values);
  va_end(values);
  memo.FtIdentAddLine(line);
}

template <size_t Size>
void CopyText(char (&buffer)[Size], const char* text) {
  std::snprintf(buffer, Size, "%s", text);
}

// Opens one listed chip by its location, reads its configuration, changes the identity and
// programs it back, then cycles its port and closes it.
void ProgramChip(FtIdentMemo& memo, uint32_t number, const FT_DEVICE_LIST_INFO_NODE& node,
                 FT_PROGRAM_DATA& data, IdentStrings& strings) {
  AddFormattedLine(memo, "устройство номер %d:", static_cast<int>(number));
  // The serial field need not hold a terminating zero.
  AddFormattedLine(memo, "SerialNumber=%.*s", static_cast<int>(sizeof node.SerialNumber),
                   node.SerialNumber);
  // A chip that another program holds is tried all the same.
  if (node.Flags != 0)
    memo.FtIdentAddLine("устройство занято");
  // By location, the location id travels in the pointer argument itself.
  void* location = reinterpret_cast<void*>(static_cast<uintptr_t>(node.LocId));
  if (FtDriver.OpenEx(location, FT_OPEN_BY_LOCATION, &FtHandle) != FT_OK) {
    // Whatever a refused open left there is no handle of ours.
    FtHandle = nullptr;
    memo.FtIdentAddLine("Ошибка FT_OpenEx()");
    return;
  }
  if (FtDriver.EE_Read(FtHandle, &data) != FT_OK) {
    memo.FtIdentAddLine("Ошибка  FT_EE_Read()");
  } else {
    // Only these three change; every other field and string goes back as read.
    CopyText(strings.manufacturer, kIdentManufacturer);
    data.RIsD2XX = 1;
    CopyText(strings.description, kInstrumentDescription);
    if (FtDriver.EE_Program(FtHandle, &data) == FT_OK)
      AddFormattedLine(memo, "устройство %.*s прошито успешно",
                       static_cast<int>(sizeof strings.description), strings.description);
  }
  // The chip re-enumerates with what its EEPROM holds now. An FTDI handle is the driver's, not
  // a kernel handle: only FT_Close releases it, and nothing may use it afterwards.
  FtDriver.CyclePort(FtHandle);
  FtDriver.Close(FtHandle);
  FtHandle = nullptr;
}

}  // namespace

void FtProgramIdent(FtIdentMemo& memo) {
  if (!FtDriverLoaded()) {
    memo.FtIdentClear();
    memo.FtIdentAddLine(kIdentNoDriverLine);
    memo.FtIdentAddLine(kIdentReinstallLine);
    return;
  }
  std::lock_guard<std::mutex> link(FtLinkLock());
  // The connection thread's link goes first: its chip is programmed like every other one.
  FtDriver.Close(FtHandle);
  FtHandle = nullptr;
  memo.FtIdentClear();

  // One record serves every chip: a version-2 layout (the FT232R fields) with our buffers.
  FT_PROGRAM_DATA data{};
  IdentStrings strings{};
  data.Signature1 = 0;
  data.Signature2 = 0xFFFFFFFFu;
  data.Version = 2;
  data.Manufacturer = strings.manufacturer;
  data.ManufacturerId = strings.manufacturerId;
  data.Description = strings.description;
  data.SerialNumber = strings.serialNumber;

  uint32_t count = 0;
  if (FtDriver.CreateDeviceInfoList(&count) != FT_OK) {
    memo.FtIdentAddLine("устройств не обнаружено!");
    return;
  }
  AddFormattedLine(memo, "подключено %d устройств", static_cast<int>(count));
  memo.FtIdentAddLine("");
  if (count == 0)
    return;
  std::vector<FT_DEVICE_LIST_INFO_NODE> list(count);
  uint32_t listed = count;
  if (FtDriver.GetDeviceInfoList(list.data(), &listed) != FT_OK) {
    memo.FtIdentAddLine("FT_GetDeviceInfoList ERROR!");
    return;
  }
  // The count the driver writes back bounds the walk, and so does the room the list was given.
  listed = std::min(listed, count);
  for (uint32_t i = 0; i < listed; ++i) {
    ProgramChip(memo, i, list[i], data, strings);
    memo.FtIdentAddLine("  ");
  }
}

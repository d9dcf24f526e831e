// The calls that write a USB identity into the chips: the device list, the EEPROM and the port
// cycle, with their faults.
#include <cstdio>
#include <cstring>

#include "eeprom_file.h"
#include "simulator.h"

namespace sim {

FT_STATUS Simulator::CreateDeviceInfoList(uint32_t* count) {
  std::lock_guard<std::mutex> hold(lock_);
  Refresh();
  FT_STATUS status = FT_INVALID_PARAMETER;
  listed_ = PresentDevices();
  if (scenario_.listFails) {
    listed_.clear();
    status = FT_IO_ERROR;
  } else if (count) {
    *count = static_cast<uint32_t>(listed_.size());
    status = FT_OK;
  }
  return Done("FT_CreateDeviceInfoList", nullptr, status, "count=%u",
              static_cast<unsigned>(listed_.size()));
}

FT_STATUS Simulator::GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* list, uint32_t* count) {
  std::lock_guard<std::mutex> hold(lock_);
  Refresh();
  FT_STATUS status = FT_INVALID_PARAMETER;
  if (scenario_.listInfoFails) {
    status = FT_DEVICE_LIST_NOT_READY;
  } else if (list && count) {
    // The list the caller sized with FT_CreateDeviceInfoList, never longer, in its order.
    for (size_t i = 0; i < listed_.size(); ++i) {
      const Device& device = devices_[listed_[i]];
      FT_DEVICE_LIST_INFO_NODE& node = list[i];
      std::memset(&node, 0, sizeof node);
      node.Flags = (device.busy || device.open) ? uint32_t{FT_FLAGS_OPENED} : 0u;
      node.Type = FT_DEVICE_232R;
      node.ID = device.id;
      node.LocId = device.location;
      std::snprintf(node.SerialNumber, sizeof node.SerialNumber, "%s", device.serial.c_str());
      std::snprintf(node.Description, sizeof node.Description, "%s", device.description.c_str());
      node.ftHandle = device.openHandle;
    }
    *count = static_cast<uint32_t>(listed_.size());
    status = FT_OK;
  }
  return Done("FT_GetDeviceInfoList", nullptr, status, "count=%u",
              static_cast<unsigned>(listed_.size()));
}

FT_STATUS Simulator::EeRead(FT_HANDLE handle, FT_PROGRAM_DATA* data) {
  auto act = [&](Device& device) -> FT_STATUS {
    if (ListsDevice(scenario_.eeReadFails, static_cast<uint32_t>(&device - devices_.data())))
      return FT_EEPROM_READ_FAILED;
    return ReadEeprom(device.eeprom, data);
  };
  return WithDevice("FT_EE_Read", handle, act, "%s", "");
}

FT_STATUS Simulator::EeProgram(FT_HANDLE handle, FT_PROGRAM_DATA* data) {
  auto act = [&](Device& device) -> FT_STATUS {
    if (ListsDevice(scenario_.eeProgramFails, static_cast<uint32_t>(&device - devices_.data())))
      return FT_EEPROM_WRITE_FAILED;
    FT_STATUS status = ProgramEeprom(data, &device.eeprom);
    if (status == FT_OK)
      WriteEepromFile();
    return status;
  };
  return WithDevice("FT_EE_Program", handle, act, "%s", "");
}

FT_STATUS Simulator::CyclePort(FT_HANDLE handle) {
  // The chip leaves the bus and comes back, after its time off the bus, with what its EEPROM now
  // says; the handle is spent.
  auto act = [&](Device& device) -> FT_STATUS {
    Disconnect(&device);
    if (scenario_.cyclePortMs == 0)
      Enumerate(&device);
    else
      device.returnsAt = Clock::now() + std::chrono::milliseconds(scenario_.cyclePortMs);
    return FT_OK;
  };
  return WithDevice("FT_CyclePort", handle, act, "%s", "");
}

void Simulator::WriteEepromFile() {
  if (scenario_.eepromFile.empty())
    return;
  std::vector<const Eeprom*> chips;
  for (const Device& device : devices_)
    chips.push_back(&device.eeprom);
  sim::WriteEepromFile(scenario_.eepromFile, chips);
}

}  // namespace sim

// Off Windows there is no DLL: the simulator answers the program's library look-ups in-process.
#include <cstring>
#include <mutex>
#include <set>

#include "ft_entry_points.h"
#include "library.h"
#include "vrx_sim.h"

namespace {

struct Export {
  const char* name;
  void* address;
};

// What the simulator's ftd2xx.dll exports.
const Export kExports[] = {
    {"FT_Open", reinterpret_cast<void*>(&FT_Open)},
    {"FT_OpenEx", reinterpret_cast<void*>(&FT_OpenEx)},
    {"FT_Close", reinterpret_cast<void*>(&FT_Close)},
    {"FT_Read", reinterpret_cast<void*>(&FT_Read)},
    {"FT_Write", reinterpret_cast<void*>(&FT_Write)},
    {"FT_IoCtl", reinterpret_cast<void*>(&FT_IoCtl)},
    {"FT_SetBaudRate", reinterpret_cast<void*>(&FT_SetBaudRate)},
    {"FT_SetDataCharacteristics", reinterpret_cast<void*>(&FT_SetDataCharacteristics)},
    {"FT_ResetDevice", reinterpret_cast<void*>(&FT_ResetDevice)},
    {"FT_Purge", reinterpret_cast<void*>(&FT_Purge)},
    {"FT_SetTimeouts", reinterpret_cast<void*>(&FT_SetTimeouts)},
    {"FT_GetQueueStatus", reinterpret_cast<void*>(&FT_GetQueueStatus)},
    {"FT_GetStatus", reinterpret_cast<void*>(&FT_GetStatus)},
    {"FT_CyclePort", reinterpret_cast<void*>(&FT_CyclePort)},
    {"FT_EE_Read", reinterpret_cast<void*>(&FT_EE_Read)},
    {"FT_EE_Program", reinterpret_cast<void*>(&FT_EE_Program)},
    {"FT_ListDevices", reinterpret_cast<void*>(&FT_ListDevices)},
    {"FT_CreateDeviceInfoList", reinterpret_cast<void*>(&FT_CreateDeviceInfoList)},
    {"FT_SetResetPipeRetryCount", reinterpret_cast<void*>(&FT_SetResetPipeRetryCount)},
    {"FT_GetDeviceInfoList", reinterpret_cast<void*>(&FT_GetDeviceInfoList)},
    {"VrxSim_Configure", reinterpret_cast<void*>(&VrxSim_Configure)},
    {"VrxSim_SetAttached", reinterpret_cast<void*>(&VrxSim_SetAttached)},
    {"VrxSim_PowerCycle", reinterpret_cast<void*>(&VrxSim_PowerCycle)},
    {"VrxSim_Counter", reinterpret_cast<void*>(&VrxSim_Counter)},
    {"VrxSim_Received", reinterpret_cast<void*>(&VrxSim_Received)},
};

std::mutex missingLock;
std::set<std::string> missingNames;

void* Lookup(const char* symbol) {
  if (!symbol)
    return nullptr;
  std::lock_guard<std::mutex> hold(missingLock);
  if (missingNames.count(symbol))
    return nullptr;
  for (const Export& entry : kExports) {
    if (std::strcmp(entry.name, symbol) == 0)
      return entry.address;
  }
  return nullptr;
}

}  // namespace

void VrxSim_RegisterInProcessWithout(const std::vector<std::string>& missing) {
  {
    std::lock_guard<std::mutex> hold(missingLock);
    missingNames = std::set<std::string>(missing.begin(), missing.end());
  }
  os::RegisterInProcessLibrary("ftd2xx.dll", &Lookup);
}

void VrxSim_RegisterInProcess() {
  VrxSim_RegisterInProcessWithout({});
}

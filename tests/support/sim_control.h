// Drives the simulated instrument from tests. Natively the simulator is linked in and registered
// as the in-process "ftd2xx.dll"; on Windows the program loads the real ftd2xx.dll built from the
// simulator, and the tests reach its control entry points through that same module.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vrx_sim.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace simctl {

#if defined(_WIN32)
inline HMODULE Module() {
  HMODULE module = ::GetModuleHandleA("ftd2xx.dll");
  return module ? module : ::LoadLibraryA("ftd2xx.dll");
}

template <typename Function>
Function Entry(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(Module(), name)));
}

inline void UseSimulator() {
  Module();
}
inline bool Configure(const char* scenario) {
  return Entry<int(FT_API*)(const char*)>("VrxSim_Configure")(scenario) == 1;
}
inline void SetAttached(bool attached) {
  Entry<int(FT_API*)(int)>("VrxSim_SetAttached")(attached ? 1 : 0);
}
inline void PowerCycle(bool bootLoader) {
  Entry<int(FT_API*)(int)>("VrxSim_PowerCycle")(bootLoader ? 1 : 0);
}
inline uint32_t Counter(const char* name) {
  return Entry<uint32_t(FT_API*)(const char*)>("VrxSim_Counter")(name);
}
inline std::vector<uint8_t> Received() {
  auto received = Entry<uint32_t(FT_API*)(uint8_t*, uint32_t)>("VrxSim_Received");
  std::vector<uint8_t> bytes(received(nullptr, 0));
  received(bytes.data(), static_cast<uint32_t>(bytes.size()));
  return bytes;
}
#else
inline void UseSimulator() {
  VrxSim_RegisterInProcess();
}
inline bool Configure(const char* scenario) {
  return VrxSim_Configure(scenario) == 1;
}
inline void SetAttached(bool attached) {
  VrxSim_SetAttached(attached ? 1 : 0);
}
inline void PowerCycle(bool bootLoader) {
  VrxSim_PowerCycle(bootLoader ? 1 : 0);
}
inline uint32_t Counter(const char* name) {
  return VrxSim_Counter(name);
}
inline std::vector<uint8_t> Received() {
  std::vector<uint8_t> bytes(VrxSim_Received(nullptr, 0));
  VrxSim_Received(bytes.data(), static_cast<uint32_t>(bytes.size()));
  return bytes;
}
#endif

}  // namespace simctl

// The driver's entry points and the control functions: each hands over to the one simulator and
// turns anything thrown into a status, so no exception reaches the caller.
#include <string>

#include "ft_entry_points.h"
#include "simulator.h"
#include "vrx_sim.h"

namespace {

template <typename Call>
auto Guarded(Call call, decltype(call()) onFailure) noexcept {
  try {
    return call();
  } catch (...) {
    return onFailure;
  }
}

sim::Simulator& Sim() {
  return sim::Simulator::Instance();
}

}  // namespace

extern "C" {

FT_STATUS FT_API FT_Open(int index, FT_HANDLE* handle) {
  return Guarded([&] { return Sim().Open(index, handle); }, FT_OTHER_ERROR);
}

FT_STATUS FT_API FT_OpenEx(void* arg, uint32_t flags, FT_HANDLE* handle) {
  return Guarded([&] { return Sim().OpenEx(arg, flags, handle); }, FT_OTHER_ERROR);
}

FT_STATUS FT_API FT_Close(FT_HANDLE handle) {
  return Guarded([&] { return Sim().Close(handle); }, FT_OTHER_ERROR);
}

FT_STATUS FT_API FT_Read(FT_HANDLE handle, void* buffer, uint32_t length, uint32_t* got) {
  return Guarded([&] { return Sim().Read(handle, buffer, length, got); }, FT_OTHER_ERROR);
}

FT_STATUS FT_API FT_Write(FT_HANDLE handle, void* buffer, uint32_t length, uint32_t* written) {
  return Guarded([&] { return Sim().Write(handle, buffer, length, written); }, FT_OTHER_ERROR);
}

FT_STATUS FT_API FT_IoCtl(FT_HANDLE handle, uint32_t code, void*, uint32_t, void*, uint32_t,
                          uint32_t*, void*) {
  return Guarded([&] { return Sim().IoCtl(handle, code); }, FT_OTHER_ERROR);
}

FT_STATUS FT_API FT_SetBaudRate(FT_HANDLE handle, uint32_t baud) {
  return Guarded([&] { return Sim().SetBaudRate(handle, baud); }, FT_OTHER_ERROR);
}

FT_STATUS FT_API FT_SetDataCharacteristics(FT_HANDLE handle, uint8_t bits, uint8_t stop,
                                           uint8_t parity) {
  return Guarded([&] { return Sim().SetDataCharacteristics(handle, bits, stop, parity); },
                 FT_OTHER_ERROR);
}

FT_STATUS FT_API FT_ResetDevice(FT_HANDLE handle) {
  return Guarded([&] { return Sim().ResetDevice(handle); }, FT_OTHER_ERROR);
}

FT_STATUS FT_API FT_Purge(FT_HANDLE handle, uint32_t mask) {
  return Guarded([&] { return Sim().Purge(handle, mask); }, FT_OTHER_ERROR);
}

FT_STATUS FT_API FT_SetTimeouts(FT_HANDLE handle, uint32_t readMs, uint32_t writeMs) {
  return Guarded([&] { return Sim().SetTimeouts(handle, readMs, writeMs); }, FT_OTHER_ERROR);
}

FT_STATUS FT_API FT_GetQueueStatus(FT_HANDLE handle, uint32_t* received) {
  return Guarded([&] { return Sim().GetQueueStatus(handle, received); }, FT_OTHER_ERROR);
}

FT_STATUS FT_API FT_GetStatus(FT_HANDLE handle, uint32_t* received, uint32_t* transmit,
                              uint32_t* events) {
  return Guarded([&] { return Sim().GetStatus(handle, received, transmit, events); },
                 FT_OTHER_ERROR);
}

FT_STATUS FT_API FT_CyclePort(FT_HANDLE handle) {
  return Guarded([&] { return Sim().CyclePort(handle); }, FT_OTHER_ERROR);
}

FT_STATUS FT_API FT_EE_Read(FT_HANDLE handle, FT_PROGRAM_DATA* data) {
  return Guarded([&] { return Sim().EeRead(handle, data); }, FT_OTHER_ERROR);
}

FT_STATUS FT_API FT_EE_Program(FT_HANDLE handle, FT_PROGRAM_DATA* data) {
  return Guarded([&] { return Sim().EeProgram(handle, data); }, FT_OTHER_ERROR);
}

FT_STATUS FT_API FT_ListDevices(void* arg1, void* arg2, uint32_t flags) {
  return Guarded([&] { return Sim().ListDevices(arg1, arg2, flags); }, FT_OTHER_ERROR);
}

FT_STATUS FT_API FT_CreateDeviceInfoList(uint32_t* count) {
  return Guarded([&] { return Sim().CreateDeviceInfoList(count); }, FT_OTHER_ERROR);
}

FT_STATUS FT_API FT_SetResetPipeRetryCount(FT_HANDLE handle, uint32_t count) {
  return Guarded([&] { return Sim().SetResetPipeRetryCount(handle, count); }, FT_OTHER_ERROR);
}

FT_STATUS FT_API FT_GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* list, uint32_t* count) {
  return Guarded([&] { return Sim().GetDeviceInfoList(list, count); }, FT_OTHER_ERROR);
}

int FT_API VrxSim_Configure(const char* scenarioText) {
  return Guarded(
      [&] {
        std::string error;
        return Sim().Configure(scenarioText ? scenarioText : "", &error) ? 1 : 0;
      },
      0);
}

int FT_API VrxSim_SetAttached(int attached) {
  return Guarded(
      [&] {
        Sim().SetAttached(attached != 0);
        return 1;
      },
      0);
}

int FT_API VrxSim_PowerCycle(int bootLoader) {
  return Guarded(
      [&] {
        Sim().PowerCycle(bootLoader != 0);
        return 1;
      },
      0);
}

uint32_t FT_API VrxSim_Counter(const char* name) {
  return Guarded([&] { return name ? Sim().Counter(name) : 0u; }, 0u);
}

uint32_t FT_API VrxSim_Received(uint8_t* buffer, uint32_t capacity) {
  return Guarded([&] { return Sim().Received(buffer, capacity); }, 0u);
}

}  // extern "C"

// The 20 D2XX entry points the simulator defines, under the driver's own names.
#pragma once

#include "d2xx.h"

extern "C" {
FT_STATUS FT_API FT_Open(int index, FT_HANDLE* handle);
FT_STATUS FT_API FT_OpenEx(void* arg, uint32_t flags, FT_HANDLE* handle);
FT_STATUS FT_API FT_Close(FT_HANDLE handle);
FT_STATUS FT_API FT_Read(FT_HANDLE handle, void* buffer, uint32_t length, uint32_t* got);
FT_STATUS FT_API FT_Write(FT_HANDLE handle, void* buffer, uint32_t length, uint32_t* written);
FT_STATUS FT_API FT_IoCtl(FT_HANDLE handle, uint32_t code, void* in, uint32_t inSize, void* out,
                          uint32_t outSize, uint32_t* returned, void* overlapped);
FT_STATUS FT_API FT_SetBaudRate(FT_HANDLE handle, uint32_t baud);
FT_STATUS FT_API FT_SetDataCharacteristics(FT_HANDLE handle, uint8_t bits, uint8_t stop,
                                           uint8_t parity);
FT_STATUS FT_API FT_ResetDevice(FT_HANDLE handle);
FT_STATUS FT_API FT_Purge(FT_HANDLE handle, uint32_t mask);
FT_STATUS FT_API FT_SetTimeouts(FT_HANDLE handle, uint32_t readMs, uint32_t writeMs);
FT_STATUS FT_API FT_GetQueueStatus(FT_HANDLE handle, uint32_t* received);
FT_STATUS FT_API FT_GetStatus(FT_HANDLE handle, uint32_t* received, uint32_t* transmit,
                              uint32_t* events);
FT_STATUS FT_API FT_CyclePort(FT_HANDLE handle);
FT_STATUS FT_API FT_EE_Read(FT_HANDLE handle, FT_PROGRAM_DATA* data);
FT_STATUS FT_API FT_EE_Program(FT_HANDLE handle, FT_PROGRAM_DATA* data);
FT_STATUS FT_API FT_ListDevices(void* arg1, void* arg2, uint32_t flags);
FT_STATUS FT_API FT_CreateDeviceInfoList(uint32_t* count);
FT_STATUS FT_API FT_SetResetPipeRetryCount(FT_HANDLE handle, uint32_t count);
FT_STATUS FT_API FT_GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* list, uint32_t* count);
}

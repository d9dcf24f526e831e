// Our declarations of the FTDI D2XX driver interface, written from its published types, values
// and structure layouts, so that the program works with the real ftd2xx.dll unchanged.
#pragma once

#include <cstddef>
#include <cstdint>

// The 32-bit driver's calling convention; x86_64 Windows has one convention and ignores it.
#if defined(_WIN32)
#define FT_API __stdcall
#else
#define FT_API
#endif

using FT_HANDLE = void*;
using FT_STATUS = uint32_t;

enum : FT_STATUS {
  FT_OK = 0,
  FT_INVALID_HANDLE = 1,
  FT_DEVICE_NOT_FOUND = 2,
  FT_DEVICE_NOT_OPENED = 3,
  FT_IO_ERROR = 4,
  FT_INSUFFICIENT_RESOURCES = 5,
  FT_INVALID_PARAMETER = 6,
  FT_INVALID_BAUD_RATE = 7,
  FT_DEVICE_NOT_OPENED_FOR_ERASE = 8,
  FT_DEVICE_NOT_OPENED_FOR_WRITE = 9,
  FT_FAILED_TO_WRITE_DEVICE = 10,
  FT_EEPROM_READ_FAILED = 11,
  FT_EEPROM_WRITE_FAILED = 12,
  FT_EEPROM_ERASE_FAILED = 13,
  FT_EEPROM_NOT_PRESENT = 14,
  FT_EEPROM_NOT_PROGRAMMED = 15,
  FT_INVALID_ARGS = 16,
  FT_NOT_SUPPORTED = 17,
  FT_OTHER_ERROR = 18,
  FT_DEVICE_LIST_NOT_READY = 19,
};

enum : uint32_t {
  FT_OPEN_BY_SERIAL_NUMBER = 1,
  FT_OPEN_BY_DESCRIPTION = 2,
  FT_OPEN_BY_LOCATION = 4,  // the location id travels in the pointer argument itself
};

enum : uint32_t { FT_PURGE_RX = 1, FT_PURGE_TX = 2 };

enum : uint8_t {
  FT_BITS_8 = 8,
  FT_BITS_7 = 7,
  FT_STOP_BITS_1 = 0,
  FT_STOP_BITS_2 = 2,
  FT_PARITY_NONE = 0,
  FT_PARITY_ODD = 1,
  FT_PARITY_EVEN = 2,
  FT_PARITY_MARK = 3,
  FT_PARITY_SPACE = 4,
};

enum : uint32_t {
  FT_FLAGS_OPENED = 1,
  FT_FLAGS_HISPEED = 2,
  FT_DEVICE_232R = 5,
};

struct FT_DEVICE_LIST_INFO_NODE {
  uint32_t Flags;
  uint32_t Type;
  uint32_t ID;  // vendor id in the high word, product id in the low word
  uint32_t LocId;
  char SerialNumber[16];
  char Description[64];
  FT_HANDLE ftHandle;
};

struct FT_PROGRAM_DATA {
  uint32_t Signature1;  // 0
  uint32_t Signature2;  // 0xFFFFFFFF
  uint32_t Version;     // how much of the structure the caller passes
  uint16_t VendorId;
  uint16_t ProductId;
  char* Manufacturer;
  char* ManufacturerId;
  char* Description;
  char* SerialNumber;
  uint16_t MaxPower;
  uint16_t PnP;
  uint16_t SelfPowered;
  uint16_t RemoteWakeup;
  uint8_t Rev4;
  uint8_t IsoIn;
  uint8_t IsoOut;
  uint8_t PullDownEnable;
  uint8_t SerNumEnable;
  uint8_t USBVersionEnable;
  uint16_t USBVersion;
  uint8_t Rev5;
  uint8_t IsoInA;
  uint8_t IsoInB;
  uint8_t IsoOutA;
  uint8_t IsoOutB;
  uint8_t PullDownEnable5;
  uint8_t SerNumEnable5;
  uint8_t USBVersionEnable5;
  uint16_t USBVersion5;
  uint8_t AIsHighCurrent;
  uint8_t BIsHighCurrent;
  uint8_t IFAIsFifo;
  uint8_t IFAIsFifoTar;
  uint8_t IFAIsFastSer;
  uint8_t AIsVCP;
  uint8_t IFBIsFifo;
  uint8_t IFBIsFifoTar;
  uint8_t IFBIsFastSer;
  uint8_t BIsVCP;
  uint8_t UseExtOsc;
  uint8_t HighDriveIOs;
  uint8_t EndpointSize;
  uint8_t PullDownEnableR;
  uint8_t SerNumEnableR;
  uint8_t InvertTXD;
  uint8_t InvertRXD;
  uint8_t InvertRTS;
  uint8_t InvertCTS;
  uint8_t InvertDTR;
  uint8_t InvertDSR;
  uint8_t InvertDCD;
  uint8_t InvertRI;
  uint8_t Cbus0;
  uint8_t Cbus1;
  uint8_t Cbus2;
  uint8_t Cbus3;
  uint8_t Cbus4;
  uint8_t RIsD2XX;
  uint8_t Reserved[72];  // fields of the FT2232H, FT4232H and FT232H layouts, unused here
};

// The layouts the driver DLL of each Windows build takes: pointers of 4 bytes in the 32-bit one,
// of 8 in the 64-bit one, with natural alignment in both. The 64-bit native builds, where the
// simulator is linked in, take the 64-bit layout as well.
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(FT_DEVICE_LIST_INFO_NODE) == 100, "device list node layout");
static_assert(sizeof(FT_PROGRAM_DATA) == 160, "program data layout");
static_assert(offsetof(FT_PROGRAM_DATA, Manufacturer) == 16);
static_assert(offsetof(FT_PROGRAM_DATA, Description) == 24);
static_assert(offsetof(FT_PROGRAM_DATA, SerialNumber) == 28);
static_assert(offsetof(FT_PROGRAM_DATA, MaxPower) == 32);
static_assert(offsetof(FT_PROGRAM_DATA, USBVersion) == 46);
static_assert(offsetof(FT_PROGRAM_DATA, USBVersion5) == 56);
static_assert(offsetof(FT_PROGRAM_DATA, RIsD2XX) == 86);
#elif __SIZEOF_POINTER__ == 8
static_assert(sizeof(FT_DEVICE_LIST_INFO_NODE) == 104, "device list node layout");
static_assert(sizeof(FT_PROGRAM_DATA) == 176, "program data layout");
static_assert(offsetof(FT_PROGRAM_DATA, Manufacturer) == 16);
static_assert(offsetof(FT_PROGRAM_DATA, Description) == 32);
static_assert(offsetof(FT_PROGRAM_DATA, SerialNumber) == 40);
static_assert(offsetof(FT_PROGRAM_DATA, MaxPower) == 48);
static_assert(offsetof(FT_PROGRAM_DATA, USBVersion) == 62);
static_assert(offsetof(FT_PROGRAM_DATA, USBVersion5) == 72);
static_assert(offsetof(FT_PROGRAM_DATA, RIsD2XX) == 102);
#endif
static_assert(offsetof(FT_DEVICE_LIST_INFO_NODE, SerialNumber) == 16);
static_assert(offsetof(FT_DEVICE_LIST_INFO_NODE, Description) == 32);
static_assert(offsetof(FT_DEVICE_LIST_INFO_NODE, ftHandle) == 96);

// Entry-point signatures.
using PFT_Open = FT_STATUS(FT_API*)(int, FT_HANDLE*);
using PFT_OpenEx = FT_STATUS(FT_API*)(void*, uint32_t, FT_HANDLE*);
using PFT_Close = FT_STATUS(FT_API*)(FT_HANDLE);
using PFT_Read = FT_STATUS(FT_API*)(FT_HANDLE, void*, uint32_t, uint32_t*);
using PFT_Write = FT_STATUS(FT_API*)(FT_HANDLE, void*, uint32_t, uint32_t*);
using PFT_IoCtl = FT_STATUS(FT_API*)(FT_HANDLE, uint32_t, void*, uint32_t, void*, uint32_t,
                                     uint32_t*, void*);
using PFT_SetBaudRate = FT_STATUS(FT_API*)(FT_HANDLE, uint32_t);
using PFT_SetDataCharacteristics = FT_STATUS(FT_API*)(FT_HANDLE, uint8_t, uint8_t, uint8_t);
using PFT_ResetDevice = FT_STATUS(FT_API*)(FT_HANDLE);
using PFT_Purge = FT_STATUS(FT_API*)(FT_HANDLE, uint32_t);
using PFT_SetTimeouts = FT_STATUS(FT_API*)(FT_HANDLE, uint32_t, uint32_t);
using PFT_GetQueueStatus = FT_STATUS(FT_API*)(FT_HANDLE, uint32_t*);
using PFT_GetStatus = FT_STATUS(FT_API*)(FT_HANDLE, uint32_t*, uint32_t*, uint32_t*);
using PFT_CyclePort = FT_STATUS(FT_API*)(FT_HANDLE);
using PFT_EE_Read = FT_STATUS(FT_API*)(FT_HANDLE, FT_PROGRAM_DATA*);
using PFT_EE_Program = FT_STATUS(FT_API*)(FT_HANDLE, FT_PROGRAM_DATA*);
using PFT_ListDevices = FT_STATUS(FT_API*)(void*, void*, uint32_t);
using PFT_CreateDeviceInfoList = FT_STATUS(FT_API*)(uint32_t*);
using PFT_SetResetPipeRetryCount = FT_STATUS(FT_API*)(FT_HANDLE, uint32_t);
using PFT_GetDeviceInfoList = FT_STATUS(FT_API*)(FT_DEVICE_LIST_INFO_NODE*, uint32_t*);

// The checksum the instrument's boot loader expects at the end of each firmware image.
#pragma once

#include <cstdint>

// CRC-16/CCITT-FALSE of `length` bytes: polynomial 0x1021, initial value 0xFFFF, most significant
// bit first, no reflection and no final XOR. 0xFFFF for no bytes, 0x29B1 for "123456789".
uint16_t Crc16(const uint8_t* data, int32_t length);

// Steering the simulated VRX-470 from tests and the demo. The C functions are exported by the
// simulator's ftd2xx.dll as well, by these undecorated names.
#pragma once

#include <cstdint>

#include "d2xx.h"

extern "C" {
// Resets all state and applies scenario text (the syntax of the scenario file). 1 when the text
// parsed; 0 on a parse error, which leaves the default scenario in force.
int FT_API VrxSim_Configure(const char* scenarioText);
// Plugs the instrument in (nonzero) or pulls it out (0) now; cancels a pending timed plug. 1.
int FT_API VrxSim_SetAttached(int attached);
// Switches the instrument off and on again, into its boot loader (nonzero, as with its power
// button held) or its firmware (0). Its chip stays on the bus: open handles stay good and the bytes
// in the chip stay; what the instrument had not yet sent is lost. 1.
int FT_API VrxSim_PowerCycle(int bootLoader);
// A counter since the last configuration: the calls of each entry point by its name
// ("FT_Write"), and "bytes_in", "bytes_out", "bytes_garbled", "requests_param",
// "requests_wave", "failed_writes". 0 for a name never counted.
uint32_t FT_API VrxSim_Counter(const char* name);
// Copies up to `capacity` of the bytes the instrument received since the last configuration
// into `buffer` (may be null) and returns how many it received in all.
uint32_t FT_API VrxSim_Received(uint8_t* buffer, uint32_t capacity);
}

#if !defined(_WIN32)
#include <string>
#include <vector>

// Registers the simulator as the process's "ftd2xx.dll" for os::LoadLibraryByName.
void VrxSim_RegisterInProcess();
// The same, but as a library that lacks the named entry points.
void VrxSim_RegisterInProcessWithout(const std::vector<std::string>& missing);
#endif

// Milliseconds of the system clock and sleeping, with a seam so tests can count pauses.
#pragma once

#include <cstdint>

namespace os {

// Milliseconds since the system started; wraps like GetTickCount.
uint32_t TickCount();

// Sleeps through the installed sleep function (the real one unless a test replaced it).
void SleepMs(uint32_t ms);

// Asks the system for waits and sleeps to the millisecond for the rest of the process. The link
// waits for replies in steps as long as their bytes take on the line (1 ms for a parameter block);
// at Windows' default tick of 15.6 ms each such wait would add most of a tick to every reading.
void UseMillisecondTimer();

using SleepFunction = void (*)(uint32_t ms);
// Replaces the sleep function; returns the previous one. nullptr restores the real sleep.
SleepFunction SetSleepFunction(SleepFunction function);

}  // namespace os

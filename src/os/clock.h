// Milliseconds of the system clock and sleeping, with a seam so tests can count pauses.
#pragma once

#include <cstdint>

namespace os {

// Milliseconds since the system started; wraps like GetTickCount.
uint32_t TickCount();

// Sleeps through the installed sleep function (the real one unless a test replaced it).
void SleepMs(uint32_t ms);

using SleepFunction = void (*)(uint32_t ms);
// Replaces the sleep function; returns the previous one. nullptr restores the real sleep.
SleepFunction SetSleepFunction(SleepFunction function);

}  // namespace os

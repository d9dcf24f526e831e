#include <windows.h>
// After windows.h, which it needs.
#include <timeapi.h>

#include <atomic>

#include "clock.h"

namespace os {
namespace {

void RealSleep(uint32_t ms) {
  ::Sleep(ms);
}

std::atomic<SleepFunction> sleepFunction{&RealSleep};

}  // namespace

uint32_t TickCount() {
  return ::GetTickCount();
}

void UseMillisecondTimer() {
  // Raised once and never lowered: the system restores it when the process ends.
  static const bool raised = ::timeBeginPeriod(1) == TIMERR_NOERROR;
  (void)raised;
}

void SleepMs(uint32_t ms) {
  sleepFunction.load()(ms);
}

SleepFunction SetSleepFunction(SleepFunction function) {
  return sleepFunction.exchange(function ? function : &RealSleep);
}

}  // namespace os

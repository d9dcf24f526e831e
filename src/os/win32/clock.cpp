#include <windows.h>

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

void SleepMs(uint32_t ms) {
  sleepFunction.load()(ms);
}

SleepFunction SetSleepFunction(SleepFunction function) {
  return sleepFunction.exchange(function ? function : &RealSleep);
}

}  // namespace os

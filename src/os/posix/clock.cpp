#include <time.h>

#include <atomic>

#include "clock.h"

namespace os {
namespace {

void RealSleep(uint32_t ms) {
  timespec delay{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
  while (nanosleep(&delay, &delay) != 0) {
  }
}

std::atomic<SleepFunction> sleepFunction{&RealSleep};

}  // namespace

uint32_t TickCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                               static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

void SleepMs(uint32_t ms) {
  sleepFunction.load()(ms);
}

SleepFunction SetSleepFunction(SleepFunction function) {
  return sleepFunction.exchange(function ? function : &RealSleep);
}

}  // namespace os

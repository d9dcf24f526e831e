// The main thread's side of Synchronize in native tests, which have no message loop.
#pragma once

#include <chrono>
#include <functional>

#include "thread.h"

// Runs the synchronised calls of worker threads until `done` holds; false after a generous bound.
inline bool PumpUntil(const std::function<bool()>& done) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done()) {
    if (std::chrono::steady_clock::now() > giveUp)
      return false;
    os::WaitForSynchronize(5);
    os::CheckSynchronize();
  }
  return true;
}

// The main thread's side of TThread::Synchronize for tests without a message loop.
#pragma once

#include <chrono>
#include <functional>

#include "thread.h"

// Runs the waiting synchronised calls until `done` holds; false after a generous 20 s bound.
inline bool PumpUntil(const std::function<bool()>& done) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done()) {
    if (std::chrono::steady_clock::now() > giveUp)
      return false;
    os::WaitForSynchronize(10);
    os::CheckSynchronize();
  }
  return true;
}

// The main thread's side of TThread::Synchronize for tests without a message loop.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "thread.h"

// Runs the waiting synchronised calls until `done` holds; fails after a generous 20 s bound,
// saying what it waited for.
inline ::testing::AssertionResult PumpUntil(const std::function<bool()>& done,
                                            const char* what = "the condition") {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done()) {
    if (std::chrono::steady_clock::now() > giveUp)
      return ::testing::AssertionFailure() << "gave up after 20 s waiting for " << what;
    os::WaitForSynchronize(10);
    os::CheckSynchronize();
  }
  return ::testing::AssertionSuccess();
}

// Runs the waiting synchronised calls for about `time`: what a held thread does meanwhile.
inline void PumpFor(std::chrono::milliseconds time) {
  const auto until = std::chrono::steady_clock::now() + time;
  while (std::chrono::steady_clock::now() < until) {
    os::WaitForSynchronize(5);
    os::CheckSynchronize();
  }
}

// What the FT232 holds for whoever reads from the link next, as the program's driver reports it.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>

#include "ft_transport.h"

// Whether the chip holds no byte of a reply, now and still once its latency timer (16 ms) would
// have handed over the tail of a reply on its way.
inline ::testing::AssertionResult NothingLeftInTheChip() {
  for (const char* when : {"at once", "after the latency timer"}) {
    uint32_t queued = 0, transmit = 0, events = 0;
    FT_STATUS status;
    {
      std::lock_guard<std::mutex> link(FtLinkLock());
      status = FtDriver.GetStatus(FtHandle, &queued, &transmit, &events);
    }
    if (status != FT_OK)
      return ::testing::AssertionFailure() << "the status query failed " << when;
    if (queued != 0)
      return ::testing::AssertionFailure() << queued << " bytes left in the chip " << when;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return ::testing::AssertionSuccess();
}

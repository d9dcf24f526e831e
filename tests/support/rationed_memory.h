// Lets the chart's point storage allocate a given number of times more, then runs dry, until the
// object goes: a memory limit for tests.
#pragma once

#include <new>
#include <utility>

#include "point_blocks.h"

class RationedMemory {
 public:
  explicit RationedMemory(int allowed) : allowed_(allowed) {
    previous_ = chart::SetBlockAllocator([this](std::size_t bytes) -> void* {
      return allowed_-- > 0 ? ::operator new(bytes, std::nothrow) : nullptr;
    });
  }
  ~RationedMemory() { chart::SetBlockAllocator(std::move(previous_)); }
  RationedMemory(const RationedMemory&) = delete;
  RationedMemory& operator=(const RationedMemory&) = delete;

  void Allow(int allowed) { allowed_ = allowed; }

 private:
  int allowed_;
  chart::BlockAllocator previous_;
};

// A disk that takes only so many bytes more: while it lives, the file layer's writes come up
// short once the budget runs low and fail once it is spent.
#pragma once

#include <algorithm>
#include <cstddef>

#include "file.h"

class WriteBudget {
 public:
  explicit WriteBudget(long long bytes) : previous_(os::SetWriteFilter(&Take)) { left_ = bytes; }
  ~WriteBudget() { os::SetWriteFilter(previous_); }
  WriteBudget(const WriteBudget&) = delete;
  WriteBudget& operator=(const WriteBudget&) = delete;

 private:
  static long long Take(std::size_t length) {
    const long long allowed = std::min(left_, static_cast<long long>(length));
    left_ -= allowed;
    return allowed > 0 ? allowed : -1;
  }

  static inline long long left_ = 0;
  os::WriteFilter previous_;
};

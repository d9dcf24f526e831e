// Gathers a chart's requests to redraw while several of its axes and series change, and asks
// once when all changes are in: a hosted chart's request draws at once.
#pragma once

#include <functional>
#include <utility>

#include "chart.h"

class BatchedRedraw {
 public:
  explicit BatchedRedraw(chart::Chart& chart)
      : chart_(chart), invalidate_(std::move(chart.on_invalidate)) {
    chart_.on_invalidate = nullptr;
  }
  ~BatchedRedraw() {
    chart_.on_invalidate = std::move(invalidate_);
    chart_.Invalidate();
  }
  BatchedRedraw(const BatchedRedraw&) = delete;
  BatchedRedraw& operator=(const BatchedRedraw&) = delete;

 private:
  chart::Chart& chart_;
  std::function<void()> invalidate_;
};

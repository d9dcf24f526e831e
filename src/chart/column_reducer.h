// Thins a run of points to what one pixel column can show: the first, lowest, highest and last
// value of each column, so a million points draw as a few per column and no spike is lost.
#pragma once

#include <functional>

namespace chart {

struct ColumnSpan {
  int column = 0;
  double first = 0.0;
  double last = 0.0;
  double low = 0.0;
  double high = 0.0;
  bool low_before_high = true;  // the order the two extremes arrived in
};

class ColumnReducer {
 public:
  explicit ColumnReducer(std::function<void(const ColumnSpan&)> sink) : sink_(std::move(sink)) {}

  // Values arrive column by column; a new column hands the finished one to the sink.
  void Add(int column, double value);
  // Hands over the last column.
  void Finish();

 private:
  std::function<void(const ColumnSpan&)> sink_;
  ColumnSpan span_;
  bool open_ = false;
};

}  // namespace chart

#include "column_reducer.h"

namespace chart {

void ColumnReducer::Add(int column, double value) {
  if (open_ && column == span_.column) {
    if (value < span_.low) {
      span_.low = value;
      span_.low_before_high = false;
    }
    if (value > span_.high) {
      span_.high = value;
      span_.low_before_high = true;
    }
    span_.last = value;
    return;
  }
  Finish();
  span_ = ColumnSpan{column, value, value, value, value, true};
  open_ = true;
}

void ColumnReducer::Finish() {
  if (open_)
    sink_(span_);
  open_ = false;
}

}  // namespace chart

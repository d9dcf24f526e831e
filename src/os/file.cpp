#include <atomic>

#include "file.h"

namespace os {
namespace {

std::atomic<WriteFilter> write_filter{nullptr};

}  // namespace

WriteFilter SetWriteFilter(WriteFilter filter) {
  return write_filter.exchange(filter);
}

long long WriteAllowance(std::size_t length) {
  WriteFilter filter = write_filter.load();
  return filter ? filter(length) : static_cast<long long>(length);
}

}  // namespace os

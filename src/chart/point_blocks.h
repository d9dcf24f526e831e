// The points of a series in x order, held in blocks of a fixed size: the storage grows one block
// at a time, never copies the points it holds and never needs one large piece of memory, so a log
// that runs for weeks neither stalls nor fails for want of contiguous address space. Every block
// but the last is full, so point i has a known place and reads in constant time.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>

namespace chart {

// Hands out the memory of one block or of the list of blocks; nullptr when it cannot be had. The
// program takes it from the heap; tests put in one that runs dry. Whatever it hands out goes back
// through ::operator delete.
using BlockAllocator = std::function<void*(std::size_t bytes)>;
// Returns the previous allocator; an empty one restores the heap.
BlockAllocator SetBlockAllocator(BlockAllocator allocator);

class PointBlocks {
 public:
  // 64 KiB a block: small beside a fragmented 32-bit address space, large beside its bookkeeping.
  static constexpr std::size_t kBlockPoints = 4096;

  PointBlocks() = default;
  ~PointBlocks();
  PointBlocks(const PointBlocks&) = delete;
  PointBlocks& operator=(const PointBlocks&) = delete;

  std::size_t Count() const { return count_; }
  // Point `index` (below Count).
  double X(std::size_t index) const { return At(index).x[index % kBlockPoints]; }
  double Y(std::size_t index) const { return At(index).y[index % kBlockPoints]; }

  // Makes room for one more point; false when memory for it cannot be had, and nothing changes.
  bool Reserve();
  // Puts a point at `index` (up to Count), the later points moving on by one; needs the room of a
  // successful Reserve, so it never allocates and cannot fail.
  void Insert(std::size_t index, double x, double y);
  // Gives every block back.
  void Clear();

  // Binary searches: the first point whose x is not below `x`, and the first whose x is above it.
  std::size_t LowerBound(double x) const {
    return PartitionPoint([x](double value) { return value < x; });
  }
  std::size_t UpperBound(double x) const {
    return PartitionPoint([x](double value) { return !(x < value); });
  }

  // Calls visit(x, y) for the points [first, last) in order, a block at a time.
  template <class Visit>
  void ForEach(std::size_t first, std::size_t last, Visit&& visit) const {
    while (first < last) {
      const Block& block = At(first);
      const std::size_t begin = first % kBlockPoints;
      const std::size_t end = std::min(kBlockPoints, begin + (last - first));
      for (std::size_t i = begin; i < end; ++i)
        visit(block.x[i], block.y[i]);
      first += end - begin;
    }
  }

 private:
  struct Block {
    double x[kBlockPoints];
    double y[kBlockPoints];
  };

  const Block& At(std::size_t index) const { return *blocks_[index / kBlockPoints]; }
  bool GrowBlockList();

  // The first index whose x fails `before`; the points are ascending, so those that pass lead.
  template <class Before>
  std::size_t PartitionPoint(Before before) const {
    std::size_t first = 0;
    std::size_t count = count_;
    while (count > 0) {
      const std::size_t half = count / 2;
      if (before(X(first + half))) {
        first += half + 1;
        count -= half + 1;
      } else {
        count = half;
      }
    }
    return first;
  }

  Block** blocks_ = nullptr;
  std::size_t block_count_ = 0;
  std::size_t block_capacity_ = 0;
  std::size_t count_ = 0;
};

}  // namespace chart

#include "point_blocks.h"

#include <new>
#include <utility>

namespace chart {

namespace {

BlockAllocator& CurrentAllocator() {
  static BlockAllocator allocator;
  return allocator;
}

void* Allocate(std::size_t bytes) {
  const BlockAllocator& allocator = CurrentAllocator();
  return allocator ? allocator(bytes) : ::operator new(bytes, std::nothrow);
}

}  // namespace

BlockAllocator SetBlockAllocator(BlockAllocator allocator) {
  BlockAllocator previous = std::move(CurrentAllocator());
  CurrentAllocator() = std::move(allocator);
  return previous;
}

PointBlocks::~PointBlocks() {
  Clear();
}

bool PointBlocks::GrowBlockList() {
  // The list holds one pointer per block, so doubling it copies a few thousand pointers at most.
  const std::size_t capacity = block_capacity_ == 0 ? 16 : block_capacity_ * 2;
  void* memory = Allocate(capacity * sizeof(Block*));
  if (memory == nullptr)
    return false;
  Block** blocks = static_cast<Block**>(memory);
  std::copy(blocks_, blocks_ + block_count_, blocks);
  ::operator delete(blocks_);
  blocks_ = blocks;
  block_capacity_ = capacity;
  return true;
}

bool PointBlocks::Reserve() {
  if (count_ < block_count_ * kBlockPoints)
    return true;
  if (block_count_ == block_capacity_ && !GrowBlockList())
    return false;
  void* memory = Allocate(sizeof(Block));
  if (memory == nullptr)
    return false;
  blocks_[block_count_++] = new (memory) Block;
  return true;
}

void PointBlocks::Insert(std::size_t index, double x, double y) {
  // From the block that gets the new last point back to the one that gets the new point: each
  // moves its points from `index` on by one slot, and the first slot of each but that one takes
  // the last point of the block before it.
  const std::size_t last = count_ / kBlockPoints;
  const std::size_t target = index / kBlockPoints;
  for (std::size_t b = last;; --b) {
    Block& block = *blocks_[b];
    const std::size_t from = b == target ? index % kBlockPoints : 0;
    const std::size_t end = b == last ? count_ % kBlockPoints : kBlockPoints - 1;
    std::copy_backward(block.x + from, block.x + end, block.x + end + 1);
    std::copy_backward(block.y + from, block.y + end, block.y + end + 1);
    if (b == target) {
      block.x[from] = x;
      block.y[from] = y;
      break;
    }
    const Block& before = *blocks_[b - 1];
    block.x[0] = before.x[kBlockPoints - 1];
    block.y[0] = before.y[kBlockPoints - 1];
  }
  ++count_;
}

void PointBlocks::Clear() {
  for (std::size_t b = 0; b < block_count_; ++b)
    ::operator delete(blocks_[b]);
  ::operator delete(blocks_);
  blocks_ = nullptr;
  block_count_ = 0;
  block_capacity_ = 0;
  count_ = 0;
}

}  // namespace chart

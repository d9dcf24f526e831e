#include "usb_delivery.h"

#include <algorithm>

namespace sim {

UsbDelivery::UsbDelivery(uint32_t transfer, uint32_t latencyMs)
    : transferData_(size_t{transfer} / kPacket * kPacketData),
      latency_(std::chrono::milliseconds(latencyMs)) {}

void UsbDelivery::Send(size_t bytes, Clock::time_point from, Clock::duration byteTime) {
  if (bytes == 0)
    return;
  const Clock::time_point start = std::max(from, lineFreeAt_);
  stretches_.push_back({bytes, start, byteTime});
  lineFreeAt_ = start + static_cast<Clock::rep>(bytes) * byteTime;
}

std::vector<UsbDelivery::Step> UsbDelivery::Steps() const {
  std::vector<Step> steps;
  size_t total = 0;
  // Of those, the bytes of the transfer the driver is still filling.
  size_t open = 0;
  // When the last of them reached the chip.
  Clock::time_point last{};
  for (const Stretch& stretch : stretches_) {
    // The line went quiet for the latency: the chip's short packet ended the open transfer.
    if (open > 0 && stretch.start + stretch.byteTime >= last + latency_) {
      steps.push_back({total, last + latency_});
      open = 0;
    }
    size_t counted = 0;
    while (counted < stretch.bytes) {
      const size_t more = std::min(stretch.bytes - counted, transferData_ - open);
      counted += more;
      open += more;
      total += more;
      // A full transfer is handed over as soon as its last packet is in.
      if (open == transferData_) {
        steps.push_back(
            {total, stretch.start + static_cast<Clock::rep>(counted) * stretch.byteTime});
        open = 0;
      }
    }
    last = stretch.start + static_cast<Clock::rep>(stretch.bytes) * stretch.byteTime;
  }
  if (open > 0)
    steps.push_back({total, last + latency_});
  return steps;
}

size_t UsbDelivery::Visible(Clock::time_point now) const {
  size_t visible = taken_;
  for (const Step& step : Steps()) {
    if (step.at > now)
      break;
    visible = step.total;
  }
  return visible - taken_;
}

std::optional<UsbDelivery::Clock::time_point> UsbDelivery::VisibleAt(size_t count) const {
  if (count == 0)
    return Clock::time_point{};
  for (const Step& step : Steps()) {
    if (step.total >= taken_ + count)
      return step.at;
  }
  return std::nullopt;
}

void UsbDelivery::Take(size_t count) {
  taken_ += count;
  size_t sent = 0;
  for (const Stretch& stretch : stretches_)
    sent += stretch.bytes;
  // All taken means all was visible, so no transfer stands open: the next bytes start afresh.
  if (taken_ >= sent)
    Clear();
}

size_t UsbDelivery::StopAt(Clock::time_point now) {
  size_t lost = 0;
  for (Stretch& stretch : stretches_) {
    const size_t arrived = now <= stretch.start
                               ? 0
                               : std::min(stretch.bytes, static_cast<size_t>((now - stretch.start) /
                                                                             stretch.byteTime));
    lost += stretch.bytes - arrived;
    stretch.bytes = arrived;
  }
  stretches_.erase(std::remove_if(stretches_.begin(), stretches_.end(),
                                  [](const Stretch& stretch) { return stretch.bytes == 0; }),
                   stretches_.end());
  lineFreeAt_ = std::min(lineFreeAt_, now);
  return lost;
}

void UsbDelivery::Clear() {
  stretches_.clear();
  taken_ = 0;
}

}  // namespace sim

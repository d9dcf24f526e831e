#include "instrument.h"

#include <algorithm>

#include "signal.h"

namespace sim {

Instrument::Instrument(const Scenario& scenario)
    : scenario_(scenario), shortLeft_(scenario.shortReplies), longLeft_(scenario.longReplies) {}

Request Instrument::Receive(uint8_t byte, std::deque<uint8_t>* out) {
  Request request = parser_.Feed(byte);
  if (request.kind == Request::kNone || scenario_.silent)
    return request;
  if (request.kind == Request::kParameters) {
    Send(ParameterReply(), out);
  } else if (request.slot == 0) {
    Send(LiveFrame(request.samples), out);
  } else {
    Send(MemoryFrame(request.slot, request.samples), out);
  }
  return request;
}

std::vector<uint8_t> Instrument::LiveFrame(uint32_t samples) {
  const std::vector<uint8_t>& ranges = scenario_.ranges;
  uint8_t range = ranges.empty() ? 0 : ranges[std::min<size_t>(liveFrames_, ranges.size() - 1)];
  // Each frame starts at its own point of the wave, with its own noise.
  Random random(scenario_.seed ^ (0xF00Dull + liveFrames_));
  ++liveFrames_;
  WaveSpec spec;
  spec.range = range;
  spec.clockDivider = scenario_.clockDivider;
  spec.samples = samples;
  // The instrument switches to range 1 for signals a tenth as large: the codes stay alike.
  spec.rmsKv = range == 0 ? scenario_.rmsKv : scenario_.rmsKv / 10;
  spec.dcKv = range == 0 ? 0.02 : 0.002;
  spec.noiseKv = range == 0 ? 0.02 : 0.002;
  spec.frequencyHz = scenario_.frequencyHz;
  spec.phase = 6.283185307179586 * random.Uniform();
  spec.noiseSeed = random.Next();
  return WaveformReply(spec);
}

const std::vector<uint8_t>& Instrument::MemoryFrame(uint32_t slot, uint32_t samples) {
  auto key = std::make_pair(slot, samples);
  auto found = memory_.find(key);
  if (found == memory_.end()) {
    WaveSpec spec = MemorySlotSpec(slot, samples, scenario_.clockDivider, scenario_.seed);
    found = memory_.emplace(key, WaveformReply(spec)).first;
  }
  return found->second;
}

void Instrument::Send(std::vector<uint8_t> reply, std::deque<uint8_t>* out) {
  if (shortLeft_ > 0) {
    --shortLeft_;
    reply.resize(reply.size() - std::min<size_t>(scenario_.shortBy, reply.size()));
  } else if (longLeft_ > 0) {
    --longLeft_;
    // Trailing bytes that look like nothing the program expects.
    reply.insert(reply.end(), scenario_.longBy, 0x5A);
  }
  out->insert(out->end(), reply.begin(), reply.end());
}

}  // namespace sim

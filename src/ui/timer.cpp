#include "timer.h"

#include "peer.h"

namespace ui {
namespace {
uintptr_t nextTimerId = 1;
}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner), id_(nextTimerId++) {
  peer::UpdateTimer(*this);
}

TTimer::~TTimer() {
  peer::DestroyTimer(*this);
}

void TTimer::SetInterval(uint32_t ms) {
  interval_ = ms;
  peer::UpdateTimer(*this);
}

void TTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  peer::UpdateTimer(*this);
}

void TTimer::Tick() {
  if (enabled_ && OnTimer)
    OnTimer(this);
}

}  // namespace ui

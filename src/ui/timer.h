// Timers: OnTimer every Interval milliseconds while enabled, on the main thread.
#pragma once

#include <cstdint>

#include "component.h"

namespace ui {

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  uint32_t Interval() const { return interval_; }
  void SetInterval(uint32_t ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  TNotifyEvent OnTimer;
  // One expiry: runs OnTimer when enabled. The back end calls it; tests call it by hand.
  void Tick();
  // The platform's timer number; unique in the program.
  uintptr_t Id() const { return id_; }

 private:
  uint32_t interval_ = 1000;
  bool enabled_ = true;
  uintptr_t id_;
};

}  // namespace ui

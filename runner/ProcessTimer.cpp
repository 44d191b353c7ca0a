#include "runner/ProcessTimer.h"

namespace marlovent {

void TProcessTimer::Tick() {
  TimeAfterBeginning.fetch_add(1, std::memory_order_relaxed);
  TimeAfterLastOutput.fetch_add(1, std::memory_order_relaxed);
}

void TProcessTimer::StartCounting() {
  TimeAfterBeginning = 0;
  TimeAfterLastOutput = 0;
  FStart = Clock::now();
  FTicksDelivered = 0;
  FEnabled.store(true, std::memory_order_release);
}

void TProcessTimer::AdvanceTo(Clock::time_point Now) {
  if (!Enabled()) return;
  const std::int64_t Due = (Now - FStart) / Interval;
  for (; FTicksDelivered < Due; ++FTicksDelivered) Tick();
}

TProcessTimer::Clock::time_point TProcessTimer::NextTickAt() const {
  return FStart + (FTicksDelivered + 1) * Interval;
}

}  // namespace marlovent

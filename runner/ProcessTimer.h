// TProcessTimer: the runner's one-second tick counter, which drives a run's time-outs.
//
// TimeAfterBeginning counts the ticks since the run started; TimeAfterLastOutput the ticks
// since the start or since the last line end in the child's output. Ticks come from a
// steady clock, once a second after StartCounting; the run's worker delivers the ticks
// that are due (AdvanceTo) each time it wakes, so counting needs no event loop. The
// enabled state is the run's running state.
//
// Owned by its TCommandRunner and reused by every run. StartCounting is called by
// Execute before the worker starts; the worker calls AdvanceTo, ResetTimeAfterLastOutput
// and StopCounting; the counters and Enabled may be read from any thread.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace marlovent {

class TProcessTimer {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds Interval{1000};

  std::atomic<std::int32_t> TimeAfterBeginning{0};
  std::atomic<std::int32_t> TimeAfterLastOutput{0};

  void Tick();
  void StartCounting();
  void ResetTimeAfterLastOutput() { TimeAfterLastOutput.store(0, std::memory_order_relaxed); }
  void StopCounting() { FEnabled.store(false); }
  bool Enabled() const { return FEnabled.load(); }

  // Worker: delivers every tick due by Now, in order.
  void AdvanceTo(Clock::time_point Now);
  // When the next tick is due.
  Clock::time_point NextTickAt() const;

 private:
  std::atomic<bool> FEnabled{false};
  Clock::time_point FStart{};
  std::int64_t FTicksDelivered = 0;  // the worker's, after StartCounting
};

}  // namespace marlovent

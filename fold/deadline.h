#pragma once
// When a check must stop: at a point in time, or as soon as its caller sets a
// cancellation flag (from any thread).
#include <atomic>
#include <chrono>

namespace didod::foldnet {

using Clock = std::chrono::steady_clock;

class Deadline {
 public:
  explicit Deadline(Clock::time_point at, const std::atomic<bool>* cancel = nullptr) : at_(at), cancel_(cancel) {}
  // A deadline `seconds` from now.
  static Deadline In(double seconds, const std::atomic<bool>* cancel = nullptr) {
    return Deadline(Clock::now() + std::chrono::microseconds(static_cast<long long>(seconds * 1e6)), cancel);
  }

  bool Cancelled() const { return cancel_ != nullptr && cancel_->load(std::memory_order_relaxed); }
  bool Passed() const { return Cancelled() || Clock::now() > at_; }

  // The same flag, with the time moved to `fraction` of what is left.
  Deadline Share(double fraction) const {
    const auto now = Clock::now();
    if (now >= at_) return *this;
    return Deadline(now + std::chrono::duration_cast<Clock::duration>((at_ - now) * fraction), cancel_);
  }
  Clock::time_point At() const { return at_; }

 private:
  Clock::time_point at_;
  const std::atomic<bool>* cancel_;
};

// Asks the clock only every `Every` calls, for loops whose steps are short.
template <int Every>
class DeadlineTicker {
 public:
  explicit DeadlineTicker(const Deadline& deadline) : deadline_(&deadline) {}
  bool Passed() {
    if (!passed_ && ++ticks_ % Every == 0) passed_ = deadline_->Passed();
    return passed_;
  }

 private:
  const Deadline* deadline_;
  int ticks_ = 0;
  bool passed_ = false;
};

}  // namespace didod::foldnet

// Paces the live preview: every committed change asks for a refresh, and the
// refresh comes one interval after the first change it has not shown yet.
// Changes while the timer runs ride along, so a quick burst of edits gives
// one refresh after it, a long burst one per interval, and refreshes are
// never closer together than the interval. Times are milliseconds of a
// monotonic clock that the caller reads.
#pragma once

#include <cstdint>
#include <optional>

constexpr uint32_t kLivePreviewIntervalMs = 300;

// What the timer is to do: start (or run again) for ArmMs when that is set;
// Refresh tells the caller to refresh now.
struct TPacerStep {
  bool Refresh = false;
  std::optional<uint32_t> ArmMs;
  bool operator==(const TPacerStep&) const = default;
};

class TRefreshPacer {
 public:
  explicit TRefreshPacer(uint32_t interval_ms = kLivePreviewIntervalMs) : interval_(interval_ms) {}

  // A committed change at `now`: arms the timer unless it already runs.
  TPacerStep Changed(uint64_t now);
  // The timer fired at `now`: the refresh when it is due; a timer that came
  // early runs again for the rest; nothing pending leaves it stopped.
  TPacerStep Fired(uint64_t now);
  // Forgets the pending refresh (the option turned off, the skin closed).
  void Cancel() { due_.reset(); }
  bool Pending() const { return due_.has_value(); }

 private:
  uint32_t interval_;
  std::optional<uint64_t> due_;
};

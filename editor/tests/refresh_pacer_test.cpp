#include "editor/refresh_pacer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// Runs the pacer against a fake clock: changes at the given times, the timer
// firing `late` ms after the time it was armed for (negative: early, as a
// coarse tick count makes it look), until nothing is pending.
std::vector<uint64_t> Refreshes(const std::vector<uint64_t>& changes, int late = 0) {
  TRefreshPacer pacer(300);
  std::vector<uint64_t> refreshes;
  bool armed = false;
  uint64_t fires = 0;  // when the armed timer fires
  auto follow = [&](const TPacerStep& step, uint64_t now) {
    if (step.Refresh) refreshes.push_back(now);
    if (!step.ArmMs) return;
    armed = true;
    fires = now + static_cast<uint64_t>(std::max<int64_t>(1, int64_t{*step.ArmMs} + late));
  };
  size_t next = 0;
  while (next < changes.size() || armed) {
    if (next < changes.size() && (!armed || changes[next] < fires)) {
      const uint64_t now = changes[next++];
      follow(pacer.Changed(now), now);
    } else {
      armed = false;
      follow(pacer.Fired(fires), fires);
    }
  }
  EXPECT_FALSE(pacer.Pending());
  return refreshes;
}

std::vector<uint64_t> Every(uint64_t step, uint64_t from, uint64_t to) {
  std::vector<uint64_t> out;
  for (uint64_t t = from; t <= to; t += step)
    out.push_back(t);
  return out;
}

TEST(RefreshPacer, CoalescesBurstsAndNeverRefreshesMoreOftenThanTheInterval) {
  struct Row {
    const char* name;
    std::vector<uint64_t> changes;
    int late;
    std::vector<uint64_t> refreshes;
  };
  const Row rows[] = {
      {"one change", {1000}, 0, {1300}},
      {"a quick burst gives one refresh after it", {0, 40, 90, 250}, 0, {300}},
      {"two bursts apart give one each", {0, 50, 2000, 2100}, 0, {300, 2300}},
      {"a change right after a refresh waits a whole interval", {0, 300, 301}, 0, {300, 600}},
      {"a long burst refreshes every interval, and once after it",
       Every(100, 0, 1000),
       0,
       {300, 600, 900, 1200}},
      {"a timer that fires early waits for the rest", {0}, -40, {300}},
      {"a timer that fires late refreshes then", {0, 100}, 90, {390}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const std::vector<uint64_t> got = Refreshes(r.changes, r.late);
    EXPECT_EQ(got, r.refreshes);
    for (size_t i = 1; i < got.size(); ++i)
      EXPECT_GE(got[i] - got[i - 1], 300u);
    // Every change is shown: the last refresh comes after the last change.
    ASSERT_FALSE(got.empty());
    EXPECT_GE(got.back(), r.changes.back());
  }
}

TEST(RefreshPacer, TimerWithNothingPendingAndCancelAndAClockGoneBack) {
  TRefreshPacer pacer(300);
  EXPECT_EQ(pacer.Fired(500), TPacerStep{});
  EXPECT_EQ(pacer.Changed(1000), (TPacerStep{false, 300u}));
  EXPECT_EQ(pacer.Changed(1100), TPacerStep{});  // the running timer covers it
  pacer.Cancel();
  EXPECT_FALSE(pacer.Pending());
  EXPECT_EQ(pacer.Fired(1300), TPacerStep{});
  // Cancelled, the next change arms the timer anew.
  EXPECT_EQ(pacer.Changed(4000000), (TPacerStep{false, 300u}));
  // The clock went back an hour: the refresh is still at most an interval away.
  EXPECT_EQ(pacer.Fired(400000), (TPacerStep{false, 300u}));
  EXPECT_EQ(pacer.Fired(400300), (TPacerStep{true, std::nullopt}));
}

}  // namespace

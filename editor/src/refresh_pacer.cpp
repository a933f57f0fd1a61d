#include "editor/refresh_pacer.h"

#include <algorithm>

TPacerStep TRefreshPacer::Changed(uint64_t now) {
  if (due_) return {};
  due_ = now + interval_;
  return {false, interval_};
}

TPacerStep TRefreshPacer::Fired(uint64_t now) {
  if (!due_) return {};
  if (now >= *due_) {
    due_.reset();
    return {true, std::nullopt};
  }
  // A clock that went back never holds the refresh off for longer than
  // one interval from now.
  due_ = std::min<uint64_t>(*due_, now + interval_);
  return {false, static_cast<uint32_t>(*due_ - now)};
}

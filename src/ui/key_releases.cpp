#include "ui/key_releases.h"

namespace kelpra {

namespace {

// Shorter than the repeat delay any desktop sets by default (GNOME 500 ms, KDE 600 ms, X 660 ms),
// longer than a usual tap.
constexpr quint64 kShortestRepeatDelayMSec = 200;

}  // namespace

void KeyReleases::Pressed(int key, quint64 timestamp) {
  // Still held: the press of a repeat whose release Qt recognised and kept from us.
  if (held_.contains(key))
    return;
  quint64 holdStart = timestamp;
  // A time stamp of 0 says nothing: it cannot pair a press with a release.
  if (timestamp != 0) {
    std::erase_if(waiting_, [&](const Waiting& release) {
      if (release.key != key || release.timestamp != timestamp)
        return false;
      holdStart = release.holdStart;  // a repeat continues the hold
      return true;
    });
  }
  held_.insert(key, holdStart);
}

KeyReleases::Release KeyReleases::Released(int key, quint64 timestamp, quint32 scanCode) {
  const auto held = held_.constFind(key);
  if (held == held_.cend())
    return Release::Ignored;
  const quint64 holdStart = *held;
  held_.erase(held);
  // Releases that wait keep their order: one behind them waits too.
  const bool tooSoonToRepeat = timestamp != 0 && holdStart != 0 && timestamp >= holdStart &&
                               timestamp - holdStart < kShortestRepeatDelayMSec;
  if (tooSoonToRepeat && waiting_.empty())
    return Release::Final;
  waiting_.push_back({key, timestamp, holdStart, scanCode});
  return Release::MayRepeat;
}

std::vector<int> KeyReleases::TakeFinal(const std::function<bool(quint32 scanCode)>& stillDown) {
  std::vector<int> keys;
  keys.reserve(waiting_.size());
  for (const Waiting& release : waiting_) {
    if (stillDown(release.scanCode))
      held_.insert(release.key, release.holdStart);
    else
      keys.push_back(release.key);
  }
  waiting_.clear();
  return keys;
}

void KeyReleases::ForgetPresses() {
  held_.clear();
}

}  // namespace kelpra

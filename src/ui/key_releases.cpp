#include "ui/key_releases.h"

namespace kelpra {

void KeyReleases::Pressed(int key, quint64 timestamp) {
  // A time stamp of 0 says nothing: it cannot pair a press with a release.
  if (timestamp != 0) {
    std::erase_if(waiting_, [&](const Waiting& release) {
      return release.key == key && release.timestamp == timestamp;
    });
  }
  held_.insert(key);
}

bool KeyReleases::Released(int key, quint64 timestamp) {
  if (!held_.remove(key))
    return false;
  waiting_.push_back({key, timestamp});
  return true;
}

std::vector<int> KeyReleases::TakeFinal() {
  std::vector<int> keys;
  keys.reserve(waiting_.size());
  for (const Waiting& release : waiting_)
    keys.push_back(release.key);
  waiting_.clear();
  return keys;
}

void KeyReleases::ForgetPresses() {
  held_.clear();
}

}  // namespace kelpra

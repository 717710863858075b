// Which key releases are commands. A key acts once, on its final release, and only when the window
// itself received its press: a menu that takes a press (an access key) leaves its release alone.
// X11's repeat of a held key sends release and press pairs with one time stamp; when the machine
// is busy Qt may not see the pair in time to flag it as a repeat, so a release is only final once
// no press with its time stamp has followed. A release that comes sooner after its press than
// any keyboard starts repeating is final at once: a tap turns the page without waiting.
#pragma once

#include <QHash>
#include <QtGlobal>
#include <functional>
#include <vector>

namespace kelpra {

class KeyReleases {
 public:
  // A press the window received. A press with the time stamp of a waiting release of the same
  // key is a repeat: that release is withdrawn and the key is held again.
  void Pressed(int key, quint64 timestamp);
  enum class Release {
    Ignored,    // its press was not seen: no command
    Final,      // act on it now
    MayRepeat,  // waits; TakeFinal hands it out unless a repeating press withdraws it first
  };
  // A release the window received; scanCode is its native scan code (0 if unknown).
  Release Released(int key, quint64 timestamp, quint32 scanCode = 0);
  // Whether a release waits to be acted on.
  bool HasWaiting() const { return !waiting_.empty(); }
  // The keys of the waiting releases, in order; none wait afterwards. A release whose key
  // stillDown reports as held (by its scan code) is a repeat whose press is late: its hold goes on.
  std::vector<int> TakeFinal(const std::function<bool(quint32 scanCode)>& stillDown);
  // Forgets the presses seen (the keyboard went to a menu, a dialog or another window), so that
  // their releases act on nothing. Waiting releases stay.
  void ForgetPresses();

 private:
  struct Waiting {
    int key;
    quint64 timestamp;
    quint64 holdStart;  // the time stamp of the press that began the hold
    quint32 scanCode;
  };
  QHash<int, quint64> held_;  // key -> the time stamp of the press that began its hold
  std::vector<Waiting> waiting_;
};

}  // namespace kelpra

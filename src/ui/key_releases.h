// Which key releases are commands. A key acts once, on its final release, and only when the window
// itself received its press: a menu that takes a press (an access key) leaves its release alone.
// X11's repeat of a held key sends release and press pairs with one time stamp; when the machine
// is busy Qt may not see the pair in time to flag it as a repeat, so a release is only final once
// no press with its time stamp has followed.
#pragma once

#include <QSet>
#include <QtGlobal>
#include <vector>

namespace kelpra {

class KeyReleases {
 public:
  // A press the window received. A press with the time stamp of a waiting release of the same
  // key is a repeat: that release is withdrawn and the key is held again.
  void Pressed(int key, quint64 timestamp);
  // A release the window received. Returns true when it waits to be acted on (its press was
  // seen); TakeFinal then hands it out unless a repeating press withdraws it first.
  bool Released(int key, quint64 timestamp);
  // Whether a release waits to be acted on.
  bool HasWaiting() const { return !waiting_.empty(); }
  // The waiting releases, in order; none wait afterwards.
  std::vector<int> TakeFinal();
  // Forgets the presses seen (the keyboard went to a menu, a dialog or another window), so that
  // their releases act on nothing. Waiting releases stay.
  void ForgetPresses();

 private:
  struct Waiting {
    int key;
    quint64 timestamp;
  };
  QSet<int> held_;
  std::vector<Waiting> waiting_;
};

}  // namespace kelpra

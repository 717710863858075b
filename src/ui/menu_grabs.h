// Whether a menu takes the window system's grab when it opens.
//
// Under Wayland a menu that takes the compositor's grab must carry the serial of the input that
// opened it, and Qt always hands it the last press. A compositor that wants the latest key event
// instead (weston) refuses a menu opened on a key's release, and one opened on a key press once
// the key is up, and dismisses it at once. Menus opened from the keyboard are therefore shown
// without the grab: the window keeps the keyboard, which Qt passes on to the open menu, and a
// click in the window closes it. Menus opened by a button or a touch keep the grab. Elsewhere
// nothing changes.
#pragma once

#include <QObject>

class QMenu;

namespace kelpra {

class MenuGrabs : public QObject {
 public:
  explicit MenuGrabs(QObject* parent);

  // Decides for the menu each time it is about to open.
  void Watch(QMenu& menu);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool active_ = false;
  bool lastInputWasKey_ = false;
};

}  // namespace kelpra

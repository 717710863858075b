// What the input tests look at: the state a command leaves behind, and the effects they expect.
#pragma once

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <ostream>

#include "ui_fixture.h"

namespace kelpra::test {

// Everything a mapped input can change.
struct Snapshot {
  int ndxR = 0;
  int count = 0;
  QString direction;
  bool stretch = false;
  bool autoTurn = false;
  bool timerRunning = false;
  bool popupShown = false;
  int popupX = 0;
  bool windowShown = false;
  bool operator==(const Snapshot&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Snapshot& s) {
  return os << "{ndxR " << s.ndxR << ", count " << s.count << ", " << s.direction.toStdString()
            << ", stretch " << s.stretch << ", auto " << s.autoTurn << ", timer " << s.timerRunning
            << ", popup " << s.popupShown << " x " << s.popupX << ", shown " << s.windowShown
            << "}";
}

inline Snapshot Take(ViewerFixture& viewer) {
  TForm1& f = viewer.form1();
  return {f.ndxR,
          f.FileList.Count(),
          viewer.form2().Direction,
          f.PM_T->isChecked(),
          f.Action30AutoTurn->isChecked(),
          f.Timer1->isActive(),
          f.PM->isVisible(),
          f.PM->isVisible() ? f.PM->pos().x() : 0,
          f.isVisible()};
}

enum class Effect {
  Nothing,
  Next,
  Previous,
  PopupMenu,    // at the Popup Menu command's point
  PopupAtMKey,  // 20 pixels to the right of it
  CloseMenu,
  Clear,
  RotateLeft,
  RotateRight,
  Upright,
  ToggleStretch,
  StopAutoTurn,
  CloseWindow,
};

// The state an effect leaves, starting from `before` with auto-turn checked but paused and the
// orientation "DOWN" (so that each rotation command gives a different result).
inline Snapshot Expected(Effect effect, Snapshot s, const TForm1& form) {
  const QRect frame = form.frameGeometry();
  const int commandX = frame.left() + frame.width() / 2 - 20;
  switch (effect) {
    case Effect::Nothing:
      break;
    case Effect::Next:
      s.ndxR = (s.ndxR + 1) % s.count;
      s.timerRunning = s.autoTurn;
      break;
    case Effect::Previous:
      s.ndxR = (s.ndxR + s.count - 1) % s.count;
      s.timerRunning = s.autoTurn;
      break;
    case Effect::PopupMenu:
      s.popupShown = true, s.popupX = commandX, s.timerRunning = false;
      break;
    case Effect::PopupAtMKey:
      s.popupShown = true, s.popupX = commandX + 20, s.timerRunning = false;
      break;
    case Effect::CloseMenu:
      s.popupShown = false, s.popupX = 0, s.timerRunning = s.autoTurn;
      break;
    case Effect::Clear:
      s.count = 0, s.autoTurn = false, s.timerRunning = false;
      break;
    case Effect::RotateLeft:
      s.direction = QStringLiteral("RIGHT");  // from "DOWN"
      break;
    case Effect::RotateRight:
      s.direction = QStringLiteral("LEFT");
      break;
    case Effect::Upright:
      s.direction = QStringLiteral("UP");
      break;
    case Effect::ToggleStretch:
      s.stretch = !s.stretch, s.timerRunning = s.autoTurn;
      break;
    case Effect::StopAutoTurn:
      s.autoTurn = false, s.timerRunning = false;
      break;
    case Effect::CloseWindow:
      s.windowShown = false;
      break;
  }
  return s;
}

// A viewer on five landscape pages (never a spread), the third one current, auto-turn checked
// but paused, the pages turned upside down.
inline void ShowFivePages(ViewerFixture& viewer, QSize client = QSize(400, 300)) {
  const QStringList pages = viewer.WritePages(5, 80, 60);
  viewer.Show(client, {pages[2]});
  viewer.form1().move(0, 0);  // the popup menu's point then lies well inside the screen
  viewer.form1().Action30AutoTurn->setChecked(true);
  viewer.form1().Timer1->stop();
  viewer.form2().Direction = QStringLiteral("DOWN");
}

// Sends a mouse event to a widget, as the window system would (the event propagates to the
// window from a child that ignores it).
inline void SendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, QPoint pos,
                      Qt::MouseButtons held) {
  QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, held,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

}  // namespace kelpra::test

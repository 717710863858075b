#include "ui/menu_grabs.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QWindow>

#include "ui/window_placement.h"

namespace kelpra {

MenuGrabs::MenuGrabs(QObject* parent) : QObject(parent), active_(!CanPlaceWindows()) {
  // Only where the compositor may refuse the grab does it matter what opened a menu.
  if (active_)
    QCoreApplication::instance()->installEventFilter(this);
}

void MenuGrabs::Watch(QMenu& menu) {
  if (!active_)
    return;
  connect(&menu, &QMenu::aboutToShow, this, [this, &menu] {
    menu.winId();  // creates the menu's window
    if (QWindow* handle = menu.windowHandle()) {
      // The window's type decides the kind of surface when the menu is mapped: a tool tip is
      // a popup without a grab. The widget stays a popup, so Qt still routes keys and clicks.
      const Qt::WindowType type = lastInputWasKey_ ? Qt::ToolTip : Qt::Popup;
      handle->setFlags((handle->flags() & ~Qt::WindowType_Mask) | type);
    }
  });
}

bool MenuGrabs::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      lastInputWasKey_ = true;
      break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::TouchBegin:
    case QEvent::TouchEnd:
      lastInputWasKey_ = false;
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kelpra

#include "ui/qt_screen_info.h"

#include <QGuiApplication>
#include <QScreen>

namespace kelpra {

QSize QtScreenInfo::PrimaryScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->size() : QSize();
}

QRect QtScreenInfo::PrimaryScreenAvailableArea() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

}  // namespace kelpra

#include "ui/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace kelpra {

namespace {

QMargins FrameMargins(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QRect client = window.geometry();
  return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                  frame.right() - client.right(), frame.bottom() - client.bottom());
}

// The client size that gives a window with that frame the outer size.
QSize InsideFrame(QSize outer, const QMargins& frame) {
  return QSize(std::max(1, outer.width() - frame.left() - frame.right()),
               std::max(1, outer.height() - frame.top() - frame.bottom()));
}

// Asks for the frame's top-left corner to be at a point: the window manager then places the
// frame there, whatever its size.
void MoveFrameTo(QWidget& window, QPoint topLeft) {
  window.move(topLeft);  // the widget's own idea, until the window manager answers
  window.winId();        // creates the window, so that it can be told
  if (QWindow* handle = window.windowHandle()) {
    // Showing sets the window's geometry again, as the widget's and frame-exclusive, unless
    // the two already agree.
    handle->resize(window.size());
    handle->setFramePosition(topLeft);
  }
}

}  // namespace

bool CanPlaceWindows() {
  return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

OuterBoundsPlacement::OuterBoundsPlacement(QWidget& window) : QObject(&window), window_(window) {}

void OuterBoundsPlacement::Apply(const QRect& outerBounds) {
  applied_ = outerBounds;
  // The frame as far as it is known yet: nothing before the window is first shown.
  window_.resize(InsideFrame(outerBounds.size(), FrameMargins(window_)));
  if (CanPlaceWindows())
    MoveFrameTo(window_, outerBounds.topLeft());
  window_.winId();  // the window, whose first exposure is awaited
  QWindow* handle = window_.windowHandle();
  if (handle && !handle->isExposed() && !fitPending_) {
    fitPending_ = true;
    handle->installEventFilter(this);
  }
}

QRect OuterBoundsPlacement::OuterBounds() const {
  const QRect frame = window_.frameGeometry();
  if (CanPlaceWindows())
    return frame;
  return QRect(applied_.topLeft(), frame.size());
}

bool OuterBoundsPlacement::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Expose && fitPending_ && window_.windowHandle() == watched &&
      window_.windowHandle()->isExposed()) {
    fitPending_ = false;
    watched->removeEventFilter(this);
    FitToFrame();
  }
  return QObject::eventFilter(watched, event);
}

void OuterBoundsPlacement::FitToFrame() {
  // A maximized window keeps the size the window manager gave it.
  if (window_.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
    return;
  const QSize client = InsideFrame(applied_.size(), FrameMargins(window_));
  if (client != window_.size())
    window_.resize(client);
}

void CentreOnScreen(QWidget& window) {
  if (!CanPlaceWindows())
    return;
  const QScreen* screen = window.screen();
  if (!screen)
    return;
  QMargins frame = FrameMargins(window);
  if (frame.isNull() && window.parentWidget())
    frame = FrameMargins(*window.parentWidget()->window());
  const QSize outer = window.size().grownBy(frame);
  const QRect area = screen->geometry();
  MoveFrameTo(window, QPoint(area.left() + (area.width() - outer.width()) / 2,
                             area.top() + (area.height() - outer.height()) / 2));
}

}  // namespace kelpra

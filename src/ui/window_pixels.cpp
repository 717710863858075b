#include "ui/window_pixels.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <memory>

#ifdef KELPRA_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace kelpra {

namespace {

#ifdef KELPRA_HAVE_XCB
// The X window's size as the server has it, or an empty size.
QSize X11WindowSize(const QWidget& window) {
  // Other platforms (offscreen) may offer the interface without an X connection behind it.
  if (QGuiApplication::platformName() != QLatin1String("xcb") ||
      !window.testAttribute(Qt::WA_WState_Created))
    return QSize();
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (!connection)
    return QSize();
  const auto id = xcb_window_t(window.winId());
  const std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> reply(
      xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr), &std::free);
  return reply ? QSize(reply->width, reply->height) : QSize();
}
#endif

}  // namespace

QRect ToDevicePixels(const QRect& logical, qreal devicePixelRatio) {
  const int left = qRound(logical.x() * devicePixelRatio);
  const int top = qRound(logical.y() * devicePixelRatio);
  const int right = qRound((logical.x() + logical.width()) * devicePixelRatio);
  const int bottom = qRound((logical.y() + logical.height()) * devicePixelRatio);
  return QRect(left, top, right - left, bottom - top);
}

QSize WindowPixels(const QWidget& window) {
#ifdef KELPRA_HAVE_XCB
  if (const QSize size = X11WindowSize(window); !size.isEmpty())
    return size;
#endif
  const qreal ratio = window.devicePixelRatioF();
  return QSize(qRound(window.width() * ratio), qRound(window.height() * ratio));
}

WindowPixelsWatcher::WindowPixelsWatcher(QWidget& window, std::function<void()> changed)
    : QObject(&window), window_(window), changed_(std::move(changed)) {
  QCoreApplication::instance()->installNativeEventFilter(this);
}

WindowPixelsWatcher::~WindowPixelsWatcher() {
  QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool WindowPixelsWatcher::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
#ifdef KELPRA_HAVE_XCB
  if (eventType != "xcb_generic_event_t" || !window_.testAttribute(Qt::WA_WState_Created))
    return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7f) != XCB_CONFIGURE_NOTIFY)
    return false;
  const auto* configure = static_cast<const xcb_configure_notify_event_t*>(message);
  if (configure->window == xcb_window_t(window_.winId())) {
    // Qt handles the same event after this filter: the callback runs once it has.
    QTimer::singleShot(0, this, [this] { changed_(); });
  }
#else
  Q_UNUSED(eventType);
  Q_UNUSED(message);
#endif
  return false;
}

}  // namespace kelpra

// Device pixels: where a widget's logical rectangle lies in them, and how many a window really
// has on the screen.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QRect>
#include <QSize>
#include <functional>

class QWidget;

namespace kelpra {

// A rectangle in a widget's logical coordinates as the device pixels it covers: Qt rounds each
// edge to the nearest device pixel.
QRect ToDevicePixels(const QRect& logical, qreal devicePixelRatio);

// The window's size in device pixels. Qt keeps a window's size in logical pixels, rounded:
// at a scale factor of 2 a window 901 pixels wide is 451 logical ones, which Qt paints as 902.
// On X11 the server is asked for the real size; elsewhere the client chooses its buffer, which
// is the logical size scaled.
QSize WindowPixels(const QWidget& window);

// Calls back, once Qt has seen the change too, whenever the window system gives the window
// another size in device pixels: Qt sends no resize when the logical size stays the same.
class WindowPixelsWatcher : public QObject, public QAbstractNativeEventFilter {
 public:
  WindowPixelsWatcher(QWidget& window, std::function<void()> changed);
  ~WindowPixelsWatcher() override;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  QWidget& window_;
  std::function<void()> changed_;
};

}  // namespace kelpra

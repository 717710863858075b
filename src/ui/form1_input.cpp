// Keys, taps, long taps, drags, strokes and the twist gesture, mapped onto the window's commands.
#include <QApplication>
#include <QGestureEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPinchGesture>
#include <QPointingDevice>
#include <QTimer>
#include <QTouchEvent>
#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <numbers>

#include "core/stroke_classifier.h"
#include "ui/form1.h"
#include "ui/hourglass.h"
#include "ui/image_control.h"
#include "ui/key_state.h"

namespace kelpra {

namespace {

using Handler = void (TForm1::*)();

// Windows virtual-key codes: the key table is written in them.
constexpr int VK_SPACE = 32, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40, VK_DELETE = 46,
              VK_M = 77;

constexpr double LongTapMSec = 1000;
// How long a release waits for the press of a repeat, which comes with the release's time stamp.
constexpr int kRepeatPressWaitMSec = 50;
constexpr int IsMoved = 3;
constexpr int igiRotate = 261;
// π/6 in single precision, as the threshold has always been compared.
constexpr double kRotateThreshold = 0.5235987901687622;

// The virtual-key code of a Qt key, or 0 for a key the table does not name. Modifiers are not
// looked at, except that the keypad's digits have codes of their own.
int VirtualKey(const QKeyEvent& event) {
#ifdef Q_OS_WIN
  if (event.nativeVirtualKey() != 0)
    return int(event.nativeVirtualKey());
#else
  // Shift turns the digit row into punctuation on most layouts; its keys' XKB keycodes (10 for
  // 1 to 19 for 0, on X11 and Wayland alike) still name them, as the virtual-key codes do.
  const quint32 keycode = event.nativeScanCode();
  if (keycode >= 10 && keycode <= 19 && !(event.modifiers() & Qt::KeypadModifier))
    return keycode == 19 ? 48 : 49 + int(keycode - 10);
#endif
  const int key = event.key();
  if (key >= Qt::Key_0 && key <= Qt::Key_9)
    return (event.modifiers() & Qt::KeypadModifier ? 96 : 48) + (key - Qt::Key_0);
  if (key >= Qt::Key_A && key <= Qt::Key_Z)
    return 65 + (key - Qt::Key_A);
  switch (key) {
    case Qt::Key_Space:
      return VK_SPACE;
    case Qt::Key_Left:
      return VK_LEFT;
    case Qt::Key_Up:
      return VK_UP;
    case Qt::Key_Right:
      return VK_RIGHT;
    case Qt::Key_Down:
      return VK_DOWN;
    case Qt::Key_Delete:
      return VK_DELETE;
    default:
      return 0;
  }
}

struct KeyRow {
  std::initializer_list<int> keys;
  Handler handler;
};

// Keys 3 to 13 of the table for a non-empty list (the page-turning arrows and Space come first).
const KeyRow kKeyTable[] = {
    {{VK_UP}, &TForm1::Action16PopupMenuExecute},
    {{VK_DOWN}, &TForm1::Action17CloseMenuExecute},
    {{VK_DELETE}, &TForm1::Action02FClearExecute},
    {{49, 52, 55, 97, 100, 103}, &TForm1::Action18RotateLExecute},
    {{51, 54, 57, 99, 102, 105}, &TForm1::Action19RotateRExecute},
    {{50, 53, 56, 98, 101, 104}, &TForm1::Action20UprightExecute},
    {{65}, nullptr},  // A: clicks the Stretch item
    {{67}, nullptr},  // C: centres the picture
    {{VK_M}, nullptr},
    {{78}, &TForm1::Action30AutoTurnExecute},
    {{90, 88}, &TForm1::Action13ExitExecute},
};

Handler GestureCommand(StandardGesture gesture) {
  switch (gesture) {
    case sgiLeft:
      return &TForm1::Action21LeftExecute;
    case sgiRight:
      return &TForm1::Action22RightExecute;
    case sgiDown:
      return &TForm1::Action16PopupMenuExecute;
    case sgiUp:
      return &TForm1::Action17CloseMenuExecute;
    case sgiSemiCircleLeft:
      return &TForm1::Action18RotateLExecute;
    case sgiSemiCircleRight:
      return &TForm1::Action19RotateRExecute;
    case sgiCircle:
      return &TForm1::Action20UprightExecute;
    // A second leg turning counter-clockwise from the first rotates left, clockwise right.
    case sgiUpLeft:
    case sgiLeftDown:
    case sgiDownRight:
    case sgiRightUp:
      return &TForm1::Action26UpLeftExecute;
    case sgiUpRight:
    case sgiRightDown:
    case sgiDownLeft:
    case sgiLeftUp:
      return &TForm1::Action27UpRightExecute;
    case sgiUpDown:
    case sgiDownUp:
      return &TForm1::Action28UpDownExecute;
    case sgiNone:
      break;
  }
  return nullptr;
}

bool IsTap(QPointF from, QPointF to) {
  return std::abs(int(to.x()) - int(from.x())) < IsMoved &&
         std::abs(int(to.y()) - int(from.y())) < IsMoved;
}

}  // namespace

void TForm1::FormKeyUp(int Key) {
  Hourglass hourglass;
  if (FileList.Empty()) {
    if (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_SPACE || Key == VK_M)
      Action16PopupMenuExecute();
    else if (Key == VK_DOWN)
      Action17CloseMenuExecute();
    return;
  }
  if (Key == NextPicKey || Key == VK_SPACE) {
    Action14NextExecute();
    return;
  }
  if (Key == PrevPicKey) {
    Action15PreviousExecute();
    return;
  }
  for (const KeyRow& row : kKeyTable) {
    if (std::find(row.keys.begin(), row.keys.end(), Key) == row.keys.end())
      continue;
    if (row.handler) {
      (this->*row.handler)();
    } else if (Key == 65) {
      PM_T->trigger();
    } else if (Key == 67) {
      if (!PM_T->isChecked())
        CenterImage();
    } else {
      PopupMenuFromCentre(0, -30);
    }
    return;
  }
}

void TForm1::Image1MouseDown(Qt::MouseButton, int X, int Y) {
  DragFrom = QPoint(X, Y);
  TimeStart = services_.clock.GetTickCount();
}

void TForm1::Image1MouseUp(Qt::MouseButton Button, int X, int Y) {
  Hourglass hourglass;
  const int MoveX = std::abs(X - DragFrom.x());
  const int MoveY = std::abs(Y - DragFrom.y());
  TimeStop = services_.clock.GetTickCount();
  if (FileList.Empty()) {
    Action16PopupMenuExecute();
    return;
  }
  const bool inPlace = MoveX < IsMoved && MoveY < IsMoved;
  if (inPlace && TimeStop - TimeStart >= LongTapMSec) {
    if (Button == Qt::LeftButton)
      Action16PopupMenuExecute();
    else if (Button == Qt::RightButton || Button == Qt::MiddleButton)
      Action17CloseMenuExecute();
    return;
  }
  if (inPlace) {
    if (Button == Qt::LeftButton)
      Action14NextExecute();
    else if (Button == Qt::RightButton)
      Action15PreviousExecute();
    else if (Button == Qt::MiddleButton)
      Action16PopupMenuExecute();
    return;
  }
  if (!PM_T->isChecked())
    Image1->MoveTo(Image1->Bounds().topLeft() + QPoint(X - DragFrom.x(), Y - DragFrom.y()));
}

void TForm1::FormGesture(int gestureId, double angle) {
  if (gestureId != igiRotate)
    return;
  if (angle > kRotateThreshold)
    Action18RotateLExecute();
  else if (angle < -kRotateThreshold)
    Action19RotateRExecute();
}

void TForm1::FormClick() {
  RearmTimer();
}

void TForm1::Action16PopupMenuExecute() {
  PopupMenuFromCentre(-20, -30);
}

void TForm1::Action17CloseMenuExecute() {
  EndMenu();
  RearmTimer();
}

void TForm1::PopupMenuFromCentre(int dx, int dy) {
  // The point is measured from the outer frame's corner, but handed on in the window's own
  // coordinates: where the window is on the screen need not be known. div truncates toward zero.
  const QRect frame = frameGeometry();
  const QPoint fromFrame(frame.width() / 2 + dx, frame.height() / 2 + dy);
  PM->popup(mapToGlobal(fromFrame - (geometry().topLeft() - frame.topLeft())));
}

QPoint TForm1::ToDevicePoint(QPointF position) const {
  // The handlers see device pixels, as the picture's bounds are.
  const qreal ratio = devicePixelRatioF();
  return QPoint(qRound(position.x() * ratio), qRound(position.y() * ratio));
}

// Qt's events, routed to the handlers above.

void TForm1::keyPressEvent(QKeyEvent* event) {
  const int key = VirtualKey(*event);
  if (key == 0) {
    QMainWindow::keyPressEvent(event);
    return;
  }
  keyReleases_.Pressed(key, event->timestamp());
  event->accept();
}

void TForm1::keyReleaseEvent(QKeyEvent* event) {
  // A key acts once, on its final release; the repeats of a held key are ignored.
  const int key = VirtualKey(*event);
  const KeyReleases::Release release =
      key == 0 || event->isAutoRepeat()
          ? KeyReleases::Release::Ignored
          : keyReleases_.Released(key, event->timestamp(), event->nativeScanCode());
  switch (release) {
    case KeyReleases::Release::Ignored:
      QMainWindow::keyReleaseEvent(event);
      return;
    case KeyReleases::Release::Final:
      event->accept();
      Guarded([this, key] { FormKeyUp(key); });
      return;
    case KeyReleases::Release::MayRepeat:
      // The press of a repeat that Qt did not recognise follows its release closely, but not
      // necessarily before the next turn of the event loop.
      QTimer::singleShot(kRepeatPressWaitMSec, this, &TForm1::ActOnFinalKeyReleases);
      event->accept();
      return;
  }
}

void TForm1::ActOnFinalKeyReleases() {
  // A busy window may find the wait over with the repeat's press still queued behind it, or not
  // yet read at all: a key the server still has down is being held.
  QCoreApplication::processEvents();
  for (const int key : keyReleases_.TakeFinal(KeyIsDown))
    Guarded([this, key] { FormKeyUp(key); });
}

void TForm1::ReturnKeysToWindow() {
  // Not while the next menu of the bar opens (moving along it), nor while a dialog that a menu
  // item opened runs: the bar is busy with that item. And only in the active window: where Qt
  // sees none active (no window manager handed the focus back), Alt and a letter reach the menus
  // only through the bar's own focus.
  if (QApplication::activePopupWidget() || QApplication::activeWindow() != this)
    return;
  if (MM->hasFocus())
    MM->clearFocus();
}

void TForm1::mousePressEvent(QMouseEvent* event) {
  // Presses on the status bar belong to it, not to the page.
  if (!centralWidget()->geometry().contains(event->position().toPoint())) {
    QMainWindow::mousePressEvent(event);
    return;
  }
  PointerPressed(event->button(), event->position());
  event->accept();
}

void TForm1::mouseReleaseEvent(QMouseEvent* event) {
  if (!pointerDown_) {
    QMainWindow::mouseReleaseEvent(event);
    return;
  }
  PointerReleased(event->button(), event->position());
  event->accept();
}

void TForm1::PointerPressed(Qt::MouseButton button, QPointF position) {
  // Alt alone leaves the menu bar waiting for a letter; a press on the page ends that.
  ReturnKeysToWindow();
  pointerDown_ = true;
  // Strokes are drawn with the left button, a pen or one finger.
  strokeActive_ = button == Qt::LeftButton;
  stroke_.assign(1, position);
  const QPoint p = ToDevicePoint(position);
  Guarded([&] { Image1MouseDown(button, p.x(), p.y()); });
}

void TForm1::PointerReleased(Qt::MouseButton button, QPointF position) {
  pointerDown_ = false;
  const QPoint p = ToDevicePoint(position);
  const QRect client = DeviceClientRect();
  const bool onWindow =
      client.contains(p) && !Image1->Bounds().translated(client.topLeft()).contains(p);
  if (button == Qt::LeftButton && onWindow && IsTap(DragFrom, p))
    Guarded([this] { FormClick(); });
  if (strokeActive_)
    stroke_.push_back(position);
  // With an empty list every release opens the popup menu, whatever the movement: no stroke
  // may close it again.
  const bool strokes = strokeActive_ && !FileList.Empty();
  const StandardGesture gesture = strokes ? ClassifyStroke(stroke_) : sgiNone;
  strokeActive_ = false;
  // A stroke that ends where it began (a circle) is a gesture, not a tap as well.
  if (gesture == sgiNone || !IsTap(DragFrom, p))
    Guarded([&] { Image1MouseUp(button, p.x(), p.y()); });
  if (const Handler command = GestureCommand(gesture))
    Guarded([this, command] { (this->*command)(); });
}

void TForm1::RotateGesture(double clockwiseDegrees) {
  // Qt measures twists clockwise on screen (the sense of QTransform::rotate): both the pinch
  // gesture's angle and the native rotate gesture's delta. The handler takes radians with a
  // counter-clockwise twist positive, so that it turns the picture left.
  const double angle = -clockwiseDegrees * std::numbers::pi / 180;
  Guarded([this, angle] { FormGesture(igiRotate, angle); });
}

bool TForm1::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::WindowDeactivate:
      // The keys held now are released elsewhere, or their release comes without a press.
      keyReleases_.ForgetPresses();
      return QMainWindow::event(event);
    case QEvent::MouseMove:
      if (strokeActive_)
        stroke_.push_back(static_cast<QMouseEvent*>(event)->position());
      return QMainWindow::event(event);
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd: {
      // One finger acts as the left button; a second finger makes the touch a twist or pinch.
      // A touchpad's fingers are no positions on the window: it drives the pointer instead.
      const auto* touch = static_cast<QTouchEvent*>(event);
      if (touch->device()->type() != QInputDevice::DeviceType::TouchScreen)
        return QMainWindow::event(event);
      // The window is top-level, so its scene coordinates are its own.
      const QPointF position = touch->points().first().scenePosition();
      if (event->type() == QEvent::TouchBegin) {
        touchIsMultiFinger_ = false;
        PointerPressed(Qt::LeftButton, position);
      }
      touchIsMultiFinger_ = touchIsMultiFinger_ || touch->points().size() > 1;
      if (touchIsMultiFinger_) {
        strokeActive_ = false;
      } else if (event->type() == QEvent::TouchUpdate && strokeActive_) {
        stroke_.push_back(position);
      } else if (event->type() == QEvent::TouchEnd) {
        PointerReleased(Qt::LeftButton, position);
      }
      if (touchIsMultiFinger_ && event->type() == QEvent::TouchEnd)
        pointerDown_ = false;
      event->accept();
      return true;
    }
    case QEvent::TouchCancel:
      strokeActive_ = false;
      event->accept();
      return true;
    case QEvent::Gesture: {
      auto* gestureEvent = static_cast<QGestureEvent*>(event);
      if (auto* pinch = static_cast<QPinchGesture*>(gestureEvent->gesture(Qt::PinchGesture))) {
        if (pinch->changeFlags() & QPinchGesture::RotationAngleChanged)
          RotateGesture(pinch->totalRotationAngle());
        gestureEvent->accept(pinch);
      }
      return true;
    }
    case QEvent::NativeGesture: {
      const auto* gesture = static_cast<QNativeGestureEvent*>(event);
      if (gesture->gestureType() == Qt::BeginNativeGesture) {
        nativeRotation_ = 0;
      } else if (gesture->gestureType() == Qt::RotateNativeGesture) {
        nativeRotation_ += gesture->value();
        RotateGesture(nativeRotation_);
      }
      return true;
    }
    default:
      return QMainWindow::event(event);
  }
}

}  // namespace kelpra

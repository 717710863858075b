// Strokes, touches and the twist gesture on the main window, mapped onto commands.
#include <gtest/gtest.h>

#include <QGestureEvent>
#include <QNativeGestureEvent>
#include <QPinchGesture>
#include <QPointingDevice>
#include <QTouchEvent>
#include <cmath>
#include <numbers>
#include <vector>

#include "input_probe.h"

namespace kelpra::test {
namespace {

using Path = std::vector<QPoint>;

// Straight legs through the given corners, a point every 4 pixels.
Path Legs(std::initializer_list<QPoint> corners) {
  const std::vector<QPoint> c(corners);
  Path path{c.front()};
  for (std::size_t i = 1; i < c.size(); ++i) {
    const QPoint d = c[i] - c[i - 1];
    const int steps = std::max(1, int(std::hypot(d.x(), d.y()) / 4));
    for (int s = 1; s <= steps; ++s)
      path.push_back(c[i - 1] + d * s / steps);
  }
  return path;
}

// An arc around (200, 150); a growing angle runs clockwise on screen.
Path Arc(double radius, double startDegrees, double sweepDegrees) {
  Path path;
  for (int s = 0; s <= 60; ++s) {
    const double a = (startDegrees + sweepDegrees * s / 60) * std::numbers::pi / 180;
    path.emplace_back(int(std::lround(200 + radius * std::cos(a))),
                      int(std::lround(150 + radius * std::sin(a))));
  }
  return path;
}

void Draw(TForm1& form, const Path& path) {
  SendMouse(&form, QEvent::MouseButtonPress, Qt::LeftButton, path.front(), Qt::LeftButton);
  for (std::size_t i = 1; i < path.size(); ++i)
    SendMouse(&form, QEvent::MouseMove, Qt::NoButton, path[i], Qt::LeftButton);
  SendMouse(&form, QEvent::MouseButtonRelease, Qt::LeftButton, path.back(), Qt::NoButton);
}

struct StrokeCase {
  const char* name;
  Path path;
  bool stretch;
  Effect effect;
};

void PrintTo(const StrokeCase& c, std::ostream* os) {
  *os << c.name;
}

class StrokeTest : public testing::TestWithParam<StrokeCase> {};

TEST_P(StrokeTest, RunsTheGestureTablesCommand) {
  ViewerFixture viewer;
  ShowFivePages(viewer);
  if (!GetParam().stretch)
    viewer.Run(&TForm1::Action08StretchExecute);
  const Snapshot before = Take(viewer);
  Draw(viewer.form1(), GetParam().path);
  EXPECT_EQ(Take(viewer), Expected(GetParam().effect, before, viewer.form1()));
}

const QPoint S(200, 150);
const QPoint R(120, 0), L(-120, 0), U(0, -120), D(0, 120);

std::vector<StrokeCase> StrokeCases() {
  std::vector<StrokeCase> cases;
  const struct {
    const char* name;
    Path path;
    Effect withStretch, withoutStretch;
  } table[] = {
      {"right", Legs({S - R / 2, S + R / 2}), Effect::Next, Effect::Nothing},
      {"left", Legs({S + R / 2, S - R / 2}), Effect::Previous, Effect::Nothing},
      {"down", Legs({S + U / 2, S + D / 2}), Effect::PopupMenu, Effect::PopupMenu},
      {"up", Legs({S + D / 2, S + U / 2}), Effect::CloseMenu, Effect::CloseMenu},
      {"up_left", Legs({S, S + U, S + U + L}), Effect::RotateLeft, Effect::Nothing},
      {"left_down", Legs({S + U, S + U + L, S + L}), Effect::RotateLeft, Effect::Nothing},
      {"down_right", Legs({S + U, S, S + R}), Effect::RotateLeft, Effect::Nothing},
      {"right_up", Legs({S, S + R, S + R + U}), Effect::RotateLeft, Effect::Nothing},
      {"up_right", Legs({S, S + U, S + U + R}), Effect::RotateRight, Effect::Nothing},
      {"right_down", Legs({S + U, S + U + R, S + R}), Effect::RotateRight, Effect::Nothing},
      {"down_left", Legs({S + U, S, S + L}), Effect::RotateRight, Effect::Nothing},
      {"left_up", Legs({S, S + L, S + L + U}), Effect::RotateRight, Effect::Nothing},
      {"up_down", Legs({S + D / 2, S + U / 2, S + D / 2 + QPoint(8, 0)}), Effect::Upright,
       Effect::Nothing},
      {"down_up", Legs({S + U / 2, S + D / 2, S + U / 2 + QPoint(8, 0)}), Effect::Upright,
       Effect::Nothing},
      {"semicircle_left", Arc(90, -90, -180), Effect::RotateLeft, Effect::RotateLeft},
      {"semicircle_right", Arc(90, -90, 180), Effect::RotateRight, Effect::RotateRight},
      // It ends where it began, yet it is no tap.
      {"circle", Arc(90, 0, 360), Effect::Upright, Effect::Upright},
      {"diagonal", Legs({S, S + QPoint(100, 100)}), Effect::Nothing, Effect::Nothing},
  };
  for (const auto& row : table) {
    cases.push_back({row.name, row.path, true, row.withStretch});
    cases.push_back({row.name, row.path, false, row.withoutStretch});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Gestures, StrokeTest, testing::ValuesIn(StrokeCases()),
                         [](const testing::TestParamInfo<StrokeCase>& info) {
                           return std::string(info.param.name) +
                                  (info.param.stretch ? "_stretch_on" : "_stretch_off");
                         });

TEST(StrokeTest, SwapLRReversesTheSwipes) {
  ViewerFixture viewer;
  ShowFivePages(viewer);
  viewer.Run(&TForm1::Action06SwapLRExecute);
  Draw(viewer.form1(), Legs({S - R / 2, S + R / 2}));
  EXPECT_EQ(viewer.form1().ndxR, 1);
  Draw(viewer.form1(), Legs({S + R / 2, S - R / 2}));
  EXPECT_EQ(viewer.form1().ndxR, 2);
}

// With an empty list the release alone decides: whatever the stroke, the popup menu opens and
// stays open, at the Popup Menu command's point.
TEST(StrokeTest, WithAnEmptyListEveryStrokeLeavesThePopupOpen) {
  const struct {
    const char* name;
    Path path;
  } strokes[] = {
      {"right", Legs({S - R / 2, S + R / 2})},  {"left", Legs({S + R / 2, S - R / 2})},
      {"up", Legs({S + D / 2, S + U / 2})},     {"down", Legs({S + U / 2, S + D / 2})},
      {"up_left", Legs({S, S + U, S + U + L})}, {"circle", Arc(90, 0, 360)},
  };
  for (const auto& stroke : strokes) {
    ViewerFixture viewer;
    viewer.Show(QSize(400, 300));
    viewer.form1().move(0, 0);
    const Snapshot before = Take(viewer);
    Draw(viewer.form1(), stroke.path);
    EXPECT_EQ(Take(viewer), Expected(Effect::PopupMenu, before, viewer.form1())) << stroke.name;
  }
}

TEST(StrokeTest, RightButtonDrawsNoGesture) {
  ViewerFixture viewer;
  ShowFivePages(viewer);
  TForm1& form = viewer.form1();
  SendMouse(&form, QEvent::MouseButtonPress, Qt::RightButton, S, Qt::RightButton);
  SendMouse(&form, QEvent::MouseMove, Qt::NoButton, S + R, Qt::RightButton);
  SendMouse(&form, QEvent::MouseButtonRelease, Qt::RightButton, S + R, Qt::NoButton);
  EXPECT_EQ(form.ndxR, 2);
}

struct RotateCase {
  const char* name;
  int gestureId;
  double angle;
  Effect effect;
};

class RotateGestureTest : public testing::TestWithParam<RotateCase> {};

TEST_P(RotateGestureTest, TurnsBeyondThirtyDegrees) {
  ViewerFixture viewer;
  ShowFivePages(viewer);
  const Snapshot before = Take(viewer);
  viewer.form1().FormGesture(GetParam().gestureId, GetParam().angle);
  EXPECT_EQ(Take(viewer), Expected(GetParam().effect, before, viewer.form1()));
}

INSTANTIATE_TEST_SUITE_P(
    Gestures, RotateGestureTest,
    testing::Values(RotateCase{"at_threshold", 261, 0.5235987901687622, Effect::Nothing},
                    RotateCase{"at_minus_threshold", 261, -0.5235987901687622, Effect::Nothing},
                    RotateCase{"just_beyond", 261, 0.5235988, Effect::RotateLeft},
                    RotateCase{"just_beyond_negative", 261, -0.5235988, Effect::RotateRight},
                    RotateCase{"half_turn", 261, 3.1, Effect::RotateLeft},
                    RotateCase{"small", 261, 0.2, Effect::Nothing},
                    RotateCase{"other_gesture", 262, 1.0, Effect::Nothing}),
    [](const testing::TestParamInfo<RotateCase>& info) { return std::string(info.param.name); });

TEST(RotateGestureTest, ACounterClockwisePinchTurnsLeft) {
  ViewerFixture viewer;
  ShowFivePages(viewer);
  for (const auto& [qtDegrees, direction] :
       {std::pair{-40.0, "RIGHT"}, std::pair{25.0, "RIGHT"}, std::pair{40.0, "DOWN"}}) {
    QPinchGesture pinch;
    pinch.setTotalRotationAngle(qtDegrees);  // Qt: clockwise positive
    pinch.setChangeFlags(QPinchGesture::RotationAngleChanged);
    QGestureEvent event({&pinch});
    QApplication::sendEvent(&viewer.form1(), &event);
    EXPECT_EQ(viewer.form2().Direction, QString::fromLatin1(direction)) << qtDegrees;
  }
}

TEST(RotateGestureTest, NativeRotationAddsUpOverOneGesture) {
  ViewerFixture viewer;
  ShowFivePages(viewer);
  const auto send = [&](Qt::NativeGestureType type, double value) {
    QNativeGestureEvent event(type, QPointingDevice::primaryPointingDevice(), 2, QPointF(S),
                              QPointF(S), QPointF(S), value, QPointF(), 0);
    QApplication::sendEvent(&viewer.form1(), &event);
  };
  send(Qt::BeginNativeGesture, 0);
  send(Qt::RotateNativeGesture, -20);  // counter-clockwise 20 degrees: nothing yet
  EXPECT_EQ(viewer.form2().Direction, QStringLiteral("DOWN"));
  send(Qt::RotateNativeGesture, -15);  // 35 degrees in all: turn left
  EXPECT_EQ(viewer.form2().Direction, QStringLiteral("RIGHT"));
  send(Qt::EndNativeGesture, 0);
  send(Qt::BeginNativeGesture, 0);
  send(Qt::RotateNativeGesture, 20);  // a new gesture starts from nothing
  EXPECT_EQ(viewer.form2().Direction, QStringLiteral("RIGHT"));
}

// One finger on a touch screen acts as the left button; a second finger makes it no tap.
class TouchTest : public testing::Test {
 protected:
  void Touch(QEvent::Type type, std::initializer_list<std::pair<int, QPoint>> fingers) {
    QList<QEventPoint> points;
    const QEventPoint::State state = type == QEvent::TouchBegin ? QEventPoint::State::Pressed
                                     : type == QEvent::TouchEnd ? QEventPoint::State::Released
                                                                : QEventPoint::State::Updated;
    for (const auto& [id, pos] : fingers)
      points.append(QEventPoint(id, state, QPointF(pos), QPointF(pos)));
    QTouchEvent event(type, &device_, Qt::NoModifier, points);
    QApplication::sendEvent(&viewer_.form1(), &event);
  }

  QPointingDevice device_{QStringLiteral("touch"),
                          1,
                          QInputDevice::DeviceType::TouchScreen,
                          QPointingDevice::PointerType::Finger,
                          QInputDevice::Capability::Position,
                          10,
                          0};
  ViewerFixture viewer_;
};

TEST_F(TouchTest, AFingerTapsAndSwipes) {
  ShowFivePages(viewer_);
  Touch(QEvent::TouchBegin, {{1, S}});
  Touch(QEvent::TouchEnd, {{1, S}});
  EXPECT_EQ(viewer_.form1().ndxR, 3);
  Touch(QEvent::TouchBegin, {{1, S + R / 2}});
  for (int x = 50; x >= -60; x -= 10)
    Touch(QEvent::TouchUpdate, {{1, S + QPoint(x, 0)}});
  Touch(QEvent::TouchEnd, {{1, S - R / 2}});
  EXPECT_EQ(viewer_.form1().ndxR, 2);  // swiped left: back
}

TEST_F(TouchTest, ATouchpadsFingersAreNoTaps) {
  ShowFivePages(viewer_);
  QPointingDevice touchpad(QStringLiteral("touchpad"), 2, QInputDevice::DeviceType::TouchPad,
                           QPointingDevice::PointerType::Finger, QInputDevice::Capability::Position,
                           5, 0);
  for (const auto& [type, state] : {std::pair{QEvent::TouchBegin, QEventPoint::State::Pressed},
                                    std::pair{QEvent::TouchEnd, QEventPoint::State::Released}}) {
    QTouchEvent event(type, &touchpad, Qt::NoModifier, {QEventPoint(1, state, S, S)});
    QApplication::sendEvent(&viewer_.form1(), &event);
  }
  EXPECT_EQ(viewer_.form1().ndxR, 2);
}

TEST_F(TouchTest, TwoFingersAreNeitherTapNorStroke) {
  ShowFivePages(viewer_);
  Touch(QEvent::TouchBegin, {{1, S}});
  Touch(QEvent::TouchUpdate, {{1, S}, {2, S + R}});
  Touch(QEvent::TouchEnd, {{1, S}});
  EXPECT_EQ(viewer_.form1().ndxR, 2);
  EXPECT_FALSE(viewer_.form1().PM->isVisible());
}

}  // namespace
}  // namespace kelpra::test

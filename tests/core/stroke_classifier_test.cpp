#include "core/stroke_classifier.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace kelpra {
namespace {

using Path = std::vector<QPointF>;

// Points every 4 pixels along the corners given, as a mouse moved at a steady pace reports them.
Path Polyline(std::initializer_list<QPointF> corners) {
  Path path;
  const std::vector<QPointF> c(corners);
  path.push_back(c.front());
  for (std::size_t i = 1; i < c.size(); ++i) {
    const QPointF d = c[i] - c[i - 1];
    const int steps = std::max(1, int(std::hypot(d.x(), d.y()) / 4));
    for (int s = 1; s <= steps; ++s)
      path.push_back(c[i - 1] + d * (double(s) / steps));
  }
  return path;
}

// An arc around (cx, cy); angles in degrees on screen, so a growing angle runs clockwise.
Path Arc(double cx, double cy, double radius, double startDegrees, double sweepDegrees) {
  Path path;
  const int steps = int(std::abs(sweepDegrees) / 3) + 1;
  for (int s = 0; s <= steps; ++s) {
    const double a = (startDegrees + sweepDegrees * s / steps) * std::numbers::pi / 180;
    path.emplace_back(cx + radius * std::cos(a), cy + radius * std::sin(a));
  }
  return path;
}

// A shaky hand: every point moved by up to `amount` pixels, the same way on every run.
Path Jitter(Path path, double amount) {
  std::mt19937 random(12345);
  std::uniform_real_distribution<double> offset(-amount, amount);
  for (QPointF& p : path)
    p += QPointF(offset(random), offset(random));
  return path;
}

struct StrokeCase {
  std::string name;
  Path path;
  StandardGesture expected;
};

void PrintTo(const StrokeCase& c, std::ostream* os) {
  *os << c.name;
}

class StrokeClassifierTest : public testing::TestWithParam<StrokeCase> {};

TEST_P(StrokeClassifierTest, RecognisesTheGestureDrawn) {
  EXPECT_EQ(ClassifyStroke(GetParam().path), GetParam().expected) << GetParam().name;
}

std::vector<StrokeCase> CleanAndShaky(std::vector<StrokeCase> clean) {
  std::vector<StrokeCase> all;
  for (const StrokeCase& c : clean) {
    all.push_back(c);
    all.push_back({c.name + "_shaky", Jitter(c.path, 3), c.expected});
  }
  return all;
}

const QPointF O(300, 300);  // every stroke starts here unless it is a curve

INSTANTIATE_TEST_SUITE_P(
    Gestures, StrokeClassifierTest,
    testing::ValuesIn(CleanAndShaky({
        {"swipe_left", Polyline({O, O + QPointF(-200, 0)}), sgiLeft},
        {"swipe_right", Polyline({O, O + QPointF(200, 0)}), sgiRight},
        {"swipe_up", Polyline({O, O + QPointF(0, -200)}), sgiUp},
        {"swipe_down", Polyline({O, O + QPointF(0, 200)}), sgiDown},
        {"swipe_right_slanted_22deg", Polyline({O, O + QPointF(200, 80)}), sgiRight},
        {"swipe_right_with_hook", Polyline({O, O + QPointF(200, 0), O + QPointF(200, 30)}),
         sgiRight},
        {"up_left", Polyline({O, O + QPointF(0, -150), O + QPointF(-150, -150)}), sgiUpLeft},
        {"up_right", Polyline({O, O + QPointF(0, -150), O + QPointF(150, -150)}), sgiUpRight},
        {"down_left", Polyline({O, O + QPointF(0, 150), O + QPointF(-150, 150)}), sgiDownLeft},
        {"down_right", Polyline({O, O + QPointF(0, 150), O + QPointF(150, 150)}), sgiDownRight},
        {"left_up", Polyline({O, O + QPointF(-150, 0), O + QPointF(-150, -150)}), sgiLeftUp},
        {"left_down", Polyline({O, O + QPointF(-150, 0), O + QPointF(-150, 150)}), sgiLeftDown},
        {"right_up", Polyline({O, O + QPointF(150, 0), O + QPointF(150, -150)}), sgiRightUp},
        {"right_down", Polyline({O, O + QPointF(150, 0), O + QPointF(150, 150)}), sgiRightDown},
        {"right_down_short_leg", Polyline({O, O + QPointF(200, 0), O + QPointF(200, 70)}),
         sgiRightDown},
        {"up_down", Polyline({O, O + QPointF(10, -180), O + QPointF(20, 0)}), sgiUpDown},
        {"down_up", Polyline({O, O + QPointF(-10, 180), O + QPointF(-20, 0)}), sgiDownUp},
        // "(" drawn from the top: counter-clockwise on screen.
        {"semicircle_left", Arc(300, 300, 100, -90, -180), sgiSemiCircleLeft},
        // ")" drawn from the top: clockwise.
        {"semicircle_right", Arc(300, 300, 100, -90, 180), sgiSemiCircleRight},
        {"semicircle_over_the_top_clockwise", Arc(300, 300, 100, 180, 180), sgiSemiCircleRight},
        {"semicircle_under_counter_clockwise", Arc(300, 300, 100, 180, -180), sgiSemiCircleLeft},
        {"circle_clockwise", Arc(300, 300, 80, -90, 360), sgiCircle},
        {"circle_counter_clockwise", Arc(300, 300, 80, 0, -360), sgiCircle},
        {"circle_overdrawn", Arc(300, 300, 80, 0, 400), sgiCircle},
        {"circle_not_quite_closed", Arc(300, 300, 80, 0, 330), sgiCircle},
        // Not gestures.
        {"too_short", Polyline({O, O + QPointF(30, 0)}), sgiNone},
        {"diagonal", Polyline({O, O + QPointF(150, 150)}), sgiNone},
        {"left_then_right", Polyline({O, O + QPointF(-150, 0), O + QPointF(-10, 5)}), sgiNone},
        {"diagonal_legs", Polyline({O, O + QPointF(100, 100), O + QPointF(200, 0)}), sgiNone},
        {"three_quarter_circle", Arc(300, 300, 100, 0, 270), sgiNone},
        {"zigzag",
         Polyline({O, O + QPointF(60, -120), O + QPointF(120, 0), O + QPointF(180, -120),
                   O + QPointF(240, 0)}),
         sgiNone},
    })));

TEST(StrokeClassifierEdges, DegeneratePathsAreNoGesture) {
  EXPECT_EQ(ClassifyStroke(Path{}), sgiNone);
  EXPECT_EQ(ClassifyStroke(Path{QPointF(5, 5)}), sgiNone);
  EXPECT_EQ(ClassifyStroke(Path(50, QPointF(5, 5))), sgiNone);  // a held tap
}

TEST(StrokeClassifierEdges, MinimumExtentIsInclusive) {
  EXPECT_EQ(ClassifyStroke(Polyline({O, O + QPointF(39, 0)})), sgiNone);
  EXPECT_EQ(ClassifyStroke(Polyline({O, O + QPointF(40, 0)})), sgiRight);
}

TEST(StrokeClassifierEdges, SamplingRateDoesNotMatter) {
  // The same L drawn with two points per leg and with hundreds.
  const Path sparse{O, O + QPointF(0, -150), O + QPointF(150, -150)};
  const Path dense = Polyline({O, O + QPointF(0, -150), O + QPointF(150, -150)});
  EXPECT_EQ(ClassifyStroke(sparse), sgiUpRight);
  EXPECT_EQ(ClassifyStroke(dense), sgiUpRight);
}

}  // namespace
}  // namespace kelpra

// The stroke is first resampled evenly along its length, so that neither the speed of the hand
// nor the rate of the input device matters. Its corners are then found by polyline
// simplification (Ramer-Douglas-Peucker): one leg is a straight stroke, two legs an L or a
// reversal. Anything rounder is judged by its total turning: about half a turn is a semicircle,
// about a full turn with the ends meeting is a circle.
#include "core/stroke_classifier.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace kelpra {

namespace {

constexpr int kSamples = 64;
// Fewer points for the turning sum: their spacing smooths the jitter of a hand-drawn line.
constexpr int kTurningSamples = 16;
// A bend of the simplified stroke smaller than this (degrees) counts as no bend at all.
constexpr double kNegligibleTurn = 20;

enum class Leg { None, Left, Right, Up, Down };

double Length(QPointF v) {
  return std::hypot(v.x(), v.y());
}

double Degrees(double radians) {
  return radians * 180 / std::numbers::pi;
}

std::vector<QPointF> WithoutRepeats(std::span<const QPointF> path) {
  std::vector<QPointF> points;
  for (const QPointF& p : path) {
    if (points.empty() || points.back() != p)
      points.push_back(p);
  }
  return points;
}

// n points spaced evenly along the polyline, its two ends included.
std::vector<QPointF> Resample(const std::vector<QPointF>& points, int n) {
  double total = 0;
  for (std::size_t i = 1; i < points.size(); ++i)
    total += Length(points[i] - points[i - 1]);
  std::vector<QPointF> result{points.front()};
  const double step = total / (n - 1);
  double carried = 0;  // length walked since the last emitted point
  for (std::size_t i = 1; i < points.size() && int(result.size()) < n - 1; ++i) {
    QPointF from = points[i - 1];
    double segment = Length(points[i] - from);
    while (carried + segment >= step && int(result.size()) < n - 1) {
      const double t = (step - carried) / segment;
      from = from + (points[i] - from) * t;
      result.push_back(from);
      segment = Length(points[i] - from);
      carried = 0;
    }
    carried += segment;
  }
  result.push_back(points.back());
  return result;
}

double DistanceToSegment(QPointF p, QPointF a, QPointF b) {
  const QPointF ab = b - a;
  const double lengthSquared = QPointF::dotProduct(ab, ab);
  if (lengthSquared == 0)
    return Length(p - a);
  const double t = std::clamp(QPointF::dotProduct(p - a, ab) / lengthSquared, 0.0, 1.0);
  return Length(p - (a + ab * t));
}

// Ramer-Douglas-Peucker: marks the points that must stay for the polyline to keep within
// epsilon of every sample.
void Simplify(const std::vector<QPointF>& points, std::size_t first, std::size_t last,
              double epsilon, std::vector<bool>& keep) {
  double farthest = 0;
  std::size_t index = first;
  for (std::size_t i = first + 1; i < last; ++i) {
    const double d = DistanceToSegment(points[i], points[first], points[last]);
    if (d > farthest) {
      farthest = d;
      index = i;
    }
  }
  if (farthest <= epsilon)
    return;
  keep[index] = true;
  Simplify(points, first, index, epsilon, keep);
  Simplify(points, index, last, epsilon, keep);
}

std::vector<QPointF> Corners(const std::vector<QPointF>& points, double epsilon) {
  std::vector<bool> keep(points.size(), false);
  keep.front() = keep.back() = true;
  Simplify(points, 0, points.size() - 1, epsilon, keep);
  std::vector<QPointF> corners;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (keep[i])
      corners.push_back(points[i]);
  }
  return corners;
}

Leg AxisLeg(QPointF v, double slackDegrees) {
  const double slack = std::tan(slackDegrees * std::numbers::pi / 180);
  const double dx = std::abs(v.x()), dy = std::abs(v.y());
  if (dx == 0 && dy == 0)
    return Leg::None;
  if (dx >= dy)
    return dy <= slack * dx ? (v.x() < 0 ? Leg::Left : Leg::Right) : Leg::None;
  return dx <= slack * dy ? (v.y() < 0 ? Leg::Up : Leg::Down) : Leg::None;
}

StandardGesture OneLeg(Leg leg) {
  switch (leg) {
    case Leg::Left:
      return sgiLeft;
    case Leg::Right:
      return sgiRight;
    case Leg::Up:
      return sgiUp;
    case Leg::Down:
      return sgiDown;
    case Leg::None:
      break;
  }
  return sgiNone;
}

struct TwoLegRow {
  Leg first, second;
  StandardGesture gesture;
};

constexpr TwoLegRow kTwoLegs[] = {
    {Leg::Up, Leg::Left, sgiUpLeft},     {Leg::Up, Leg::Right, sgiUpRight},
    {Leg::Down, Leg::Left, sgiDownLeft}, {Leg::Down, Leg::Right, sgiDownRight},
    {Leg::Left, Leg::Up, sgiLeftUp},     {Leg::Left, Leg::Down, sgiLeftDown},
    {Leg::Right, Leg::Up, sgiRightUp},   {Leg::Right, Leg::Down, sgiRightDown},
    {Leg::Up, Leg::Down, sgiUpDown},     {Leg::Down, Leg::Up, sgiDownUp},
};

StandardGesture TwoLegs(QPointF a, QPointF b, const StrokeTolerances& tolerances) {
  const double la = Length(a), lb = Length(b);
  if (std::min(la, lb) < tolerances.minLegShare * std::max(la, lb))
    return OneLeg(AxisLeg(la > lb ? a : b, tolerances.axisSlackDegrees));
  const Leg first = AxisLeg(a, tolerances.axisSlackDegrees);
  const Leg second = AxisLeg(b, tolerances.axisSlackDegrees);
  if (first == Leg::None || second == Leg::None)
    return sgiNone;
  if (first == second)
    return OneLeg(first);
  for (const TwoLegRow& row : kTwoLegs) {
    if (row.first == first && row.second == second)
      return row.gesture;
  }
  return sgiNone;  // left then right, or right then left
}

// The signed sum of heading changes, in degrees; positive is clockwise on screen (y down).
double TotalTurning(const std::vector<QPointF>& points) {
  double total = 0;
  for (std::size_t i = 2; i < points.size(); ++i) {
    const QPointF a = points[i - 1] - points[i - 2];
    const QPointF b = points[i] - points[i - 1];
    total += std::atan2(a.x() * b.y() - a.y() * b.x(), QPointF::dotProduct(a, b));
  }
  return Degrees(total);
}

// True when the simplified stroke bends both ways (a zigzag or an S), which no curve gesture does.
bool BendsBothWays(const std::vector<QPointF>& corners) {
  bool clockwise = false, counterClockwise = false;
  for (std::size_t i = 2; i < corners.size(); ++i) {
    const double turn = TotalTurning({corners[i - 2], corners[i - 1], corners[i]});
    clockwise = clockwise || turn > kNegligibleTurn;
    counterClockwise = counterClockwise || turn < -kNegligibleTurn;
  }
  return clockwise && counterClockwise;
}

StandardGesture Curve(const std::vector<QPointF>& samples, const std::vector<QPointF>& corners,
                      double extent, const StrokeTolerances& t) {
  if (BendsBothWays(corners))
    return sgiNone;
  const double turning = TotalTurning(Resample(samples, kTurningSamples));
  const double gap = Length(samples.back() - samples.front());
  const double amount = std::abs(turning);
  if (amount >= t.circleMinTurn && amount <= t.circleMaxTurn && gap <= t.circleMaxGapShare * extent)
    return sgiCircle;
  if (amount >= t.semicircleMinTurn && amount <= t.semicircleMaxTurn &&
      gap >= t.semicircleMinChordShare * extent)
    return turning < 0 ? sgiSemiCircleLeft : sgiSemiCircleRight;
  return sgiNone;
}

}  // namespace

StandardGesture ClassifyStroke(std::span<const QPointF> path, const StrokeTolerances& tolerances) {
  const std::vector<QPointF> points = WithoutRepeats(path);
  if (points.size() < 2)
    return sgiNone;
  double left = points[0].x(), right = left, top = points[0].y(), bottom = top;
  for (const QPointF& p : points) {
    left = std::min(left, p.x());
    right = std::max(right, p.x());
    top = std::min(top, p.y());
    bottom = std::max(bottom, p.y());
  }
  const double extent = std::max(right - left, bottom - top);
  if (extent < tolerances.minExtent)
    return sgiNone;

  const std::vector<QPointF> samples = Resample(points, kSamples);
  const double epsilon = std::max(tolerances.legDeviation * extent, tolerances.minDeviationPixels);
  const std::vector<QPointF> corners = Corners(samples, epsilon);
  if (corners.size() == 2)
    return OneLeg(AxisLeg(corners[1] - corners[0], tolerances.axisSlackDegrees));
  if (corners.size() == 3) {
    const StandardGesture twoLegs =
        TwoLegs(corners[1] - corners[0], corners[2] - corners[1], tolerances);
    if (twoLegs != sgiNone)
      return twoLegs;
  }
  return Curve(samples, corners, extent, tolerances);
}

}  // namespace kelpra

// Recognises the standard stroke gestures (swipes, L-shaped strokes, reversals, semicircles and
// the circle) from the path a pointer drew between press and release.
#pragma once

#include <QPointF>
#include <span>

namespace kelpra {

// The standard gestures the window maps onto commands. Names give the legs in drawing order.
enum StandardGesture {
  sgiNone,
  sgiLeft,
  sgiRight,
  sgiUp,
  sgiDown,
  sgiUpLeft,
  sgiUpRight,
  sgiDownLeft,
  sgiDownRight,
  sgiLeftUp,
  sgiLeftDown,
  sgiRightUp,
  sgiRightDown,
  sgiUpDown,
  sgiDownUp,
  sgiSemiCircleLeft,   // drawn counter-clockwise on screen
  sgiSemiCircleRight,  // drawn clockwise on screen
  sgiCircle,
};

// Tolerances, chosen so that a quick, loose stroke of a finger or mouse is recognised while a
// slip of a tap or a scribble is not.
struct StrokeTolerances {
  // The larger side of the stroke's bounding box must reach this, in pixels: shorter movements
  // are drags or slips, not gestures.
  double minExtent = 40;
  // A leg counts as horizontal or vertical when it lies within this angle of the axis (degrees).
  double axisSlackDegrees = 30;
  // Points may stray from a straight leg by this share of the stroke's extent (at least
  // minDeviationPixels) and it still counts as straight.
  double legDeviation = 0.15;
  double minDeviationPixels = 6;
  // In a two-leg stroke the shorter leg must be at least this share of the longer one; a shorter
  // hook at either end is ignored and the stroke read as the longer leg alone.
  double minLegShare = 0.25;
  // Semicircle: total turning between these (degrees), ends apart by half the extent or more.
  double semicircleMinTurn = 125;
  double semicircleMaxTurn = 245;
  double semicircleMinChordShare = 0.5;
  // Circle: total turning between these (degrees), ends closer than this share of the extent.
  double circleMinTurn = 280;
  double circleMaxTurn = 470;
  double circleMaxGapShare = 0.35;
};

// The gesture the path draws, in screen coordinates (y grows downwards); sgiNone for anything
// that is none of them, including paths shorter than the minimum extent.
StandardGesture ClassifyStroke(std::span<const QPointF> path,
                               const StrokeTolerances& tolerances = {});

}  // namespace kelpra

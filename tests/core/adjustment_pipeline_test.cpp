#include "core/adjustment_pipeline.h"

#include <gtest/gtest.h>

#include <cmath>

#include "imaging/filters.h"
#include "imaging/geometry.h"
#include "imaging/tone.h"
#include "support/test_pictures.h"

namespace kelpra {
namespace {

using test::BitmapDiff;
using test::MakePicture;

TEST(PictureRotate, TurnsByTheExactDirectionText) {
  const TBitmap original = MakePicture(5, 3);
  TBitmap ccw = original, cw = original, half = original;
  Rotate90(ccw, false);
  Rotate90(cw, true);
  Rotate180(half);
  const struct {
    const char* direction;
    const TBitmap& expected;
  } cases[] = {{"LEFT", ccw},      {"RIGHT", cw},      {"DOWN", half}, {"UP", original},
               {"left", original}, {"Down", original}, {"", original}, {" RIGHT", original}};
  for (const auto& c : cases) {
    TBitmap bmp = original;
    PictureRotate(bmp, c.direction);
    EXPECT_EQ(BitmapDiff(c.expected, bmp), "") << c.direction;
  }
}

// The library's steps in the fixed order: contrast, brightness, sharpness, monochrome last.
TBitmap ByHand(const TBitmap& original, const EffectSettings& e) {
  TBitmap bmp = original;
  if (e.contrast)
    Contrast(bmp, e.contrast);
  if (e.brightness)
    Brightness(bmp, e.brightness);
  if (e.sharpness > 0)
    Sharpen(bmp, e.sharpness);
  if (e.sharpness < 0)
    Soften(bmp, -e.sharpness);
  if (e.monochrome)
    GrayScale(bmp);
  return bmp;
}

TEST(PictureEffect, AppliesTheStepsInOrder) {
  const TBitmap original = MakePicture(9, 7, 3);
  const EffectSettings cases[] = {
      {},
      {.contrast = 40},
      {.brightness = -30},
      {.sharpness = 70},
      {.sharpness = -1},
      {.sharpness = -30},
      {.monochrome = true},
      {.contrast = -60, .brightness = 25, .sharpness = 20, .monochrome = true},
      {.contrast = 100, .brightness = 100, .sharpness = -15},
  };
  for (const EffectSettings& effects : cases) {
    TBitmap bmp = original;
    PictureEffect(bmp, effects);
    EXPECT_EQ(BitmapDiff(ByHand(original, effects), bmp), "")
        << effects.contrast << " " << effects.brightness << " " << effects.sharpness << " "
        << effects.monochrome;
  }
  // Neutral settings leave the picture as it is, and monochrome gives 8-bit grey.
  TBitmap neutral = original;
  PictureEffect(neutral, {});
  EXPECT_EQ(BitmapDiff(original, neutral), "");
  TBitmap gray = original;
  PictureEffect(gray, {.monochrome = true});
  EXPECT_EQ(gray.PixelFormat(), pf8bit);
}

TEST(ResizeModeForText, NamesAndEverythingElse) {
  const char* names[] = {"Nearest",  "Bilinear", "Bicubic", "BSpline", "Hermite",
                         "Mitchell", "Bell",     "Lanczos", "Lagrange"};
  for (int i = 0; i < kResizeModeCount; ++i)
    EXPECT_EQ(ResizeModeForText(names[i]), i);
  for (const char* other : {"", "nearest", "LANCZOS", "Bicubic ", "Box"}) {
    EXPECT_EQ(ResizeModeForText(other), rmBilinear) << other;
  }
}

TEST(ResizePic, FitsKeepingTheAspectRatio) {
  const struct {
    int fromW, fromH, toW, toH;
  } cases[] = {
      {40, 30, 400, 300},  // enlarged, exact
      {30, 40, 400, 300},  // height limits
      {1200, 1700, 512, 404}, {45, 32, 400, 300}, {7, 3, 10, 1000}, {3, 7, 1000, 10},
  };
  for (const auto& c : cases) {
    TBitmap bmp = MakePicture(c.fromW, c.fromH);
    ResizePic(bmp, c.toW, c.toH, "Nearest");
    const double rw = double(c.toW) / c.fromW, rh = double(c.toH) / c.fromH;
    const double r = rh > rw ? rw : rh;
    EXPECT_EQ(bmp.Width(), int(std::trunc(c.fromW * r))) << c.fromW << "x" << c.fromH;
    EXPECT_EQ(bmp.Height(), int(std::trunc(c.fromH * r))) << c.fromW << "x" << c.fromH;
    EXPECT_TRUE(bmp.Width() == c.toW || bmp.Height() == c.toH || bmp.Width() == c.toW - 1 ||
                bmp.Height() == c.toH - 1);
  }
}

TEST(ResizePic, UsesTheNamedFilter) {
  const TBitmap original = MakePicture(13, 11);
  for (const char* filter : {"Lanczos", "Bell", "no such filter"}) {
    TBitmap expected = original;
    BmpResize(expected, 40, 33, ResizeModeForText(filter));
    TBitmap bmp = original;
    ResizePic(bmp, 40, 60, filter);
    EXPECT_EQ(BitmapDiff(expected, bmp), "") << filter;
  }
}

TEST(ResizePic, LeavesWhatCannotBeResized) {
  TBitmap gray = MakePicture(20, 10);
  GrayScale(gray);
  const TBitmap grayBefore = gray;
  ResizePic(gray, 400, 300, "Bilinear");
  EXPECT_EQ(BitmapDiff(grayBefore, gray), "");
  // A side that would come out below one pixel, or no client area at all.
  const TBitmap thin = MakePicture(300, 2);
  for (const auto& [w, h] : {std::pair{100, 100}, {0, 100}, {100, 0}, {0, 0}, {-5, 10}}) {
    TBitmap bmp = thin;
    ResizePic(bmp, w, h, "Bilinear");
    EXPECT_EQ(BitmapDiff(thin, bmp), "") << w << "x" << h;
  }
  TBitmap empty;
  ResizePic(empty, 100, 100, "Bilinear");
  EXPECT_TRUE(empty.Empty());
}

}  // namespace
}  // namespace kelpra

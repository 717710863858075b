// Refused input leaves the picture exactly as it was: same bytes, same colour table, same
// pixel storage (not even reallocated).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "imaging/geometry.h"
#include "imaging/tone.h"
#include "operation_table.h"
#include "picture_fixtures.h"

namespace kelpra::fixtures {
namespace {

void ExpectRefusedUntouched(const std::function<bool(TBitmap&)>& operation, TBitmap& bmp) {
  const TBitmap before = bmp;
  const std::uint8_t* storage = bmp.ScanLine(0);
  EXPECT_FALSE(operation(bmp));
  EXPECT_TRUE(SameBitmap(before, bmp));
  EXPECT_EQ(bmp.ScanLine(0), storage);
}

TBitmap GrayPicture() {
  std::mt19937 rng(5);
  TBitmap bmp = RandomPicture(9, 4, rng);
  GrayScale(bmp);
  return bmp;
}

class RefusalTest : public ::testing::TestWithParam<Operation> {};

TEST_P(RefusalTest, EightBitPicturesAreRefusedAtEveryParameter) {
  const Operation& op = GetParam();
  for (const int parameter : op.parameters) {
    SCOPED_TRACE(op.name + "(" + std::to_string(parameter) + ")");
    TBitmap bmp = GrayPicture();
    ExpectRefusedUntouched([&](TBitmap& b) { return op.library(b, parameter, 2); }, bmp);
  }
}

TEST_P(RefusalTest, ParametersOutOfRangeAreRefused) {
  const Operation& op = GetParam();
  std::mt19937 rng(9);
  for (const int parameter : op.parameters) {
    TBitmap probe = RandomPicture(6, 5, rng);
    if (op.reference(probe, parameter))
      continue;
    SCOPED_TRACE(op.name + "(" + std::to_string(parameter) + ")");
    TBitmap bmp = RandomPicture(6, 5, rng);
    ExpectRefusedUntouched([&](TBitmap& b) { return op.library(b, parameter, 2); }, bmp);
  }
}

INSTANTIATE_TEST_SUITE_P(AllOperations, RefusalTest, ::testing::ValuesIn(Operations()),
                         [](const auto& info) { return info.param.name; });

TEST(SideBySideRefusalTest, RefusesAnEightBitRightPageAndANegativeGap) {
  std::mt19937 rng(11);
  TBitmap left = RandomPicture(5, 6, rng);
  const TBitmap gray = GrayPicture();
  ExpectRefusedUntouched([&](TBitmap& b) { return SideBySide(b, gray, clBtnShadow, 3); }, left);
  const TBitmap right = RandomPicture(4, 3, rng);
  ExpectRefusedUntouched([&](TBitmap& b) { return SideBySide(b, right, clBtnShadow, -1); }, left);
}

}  // namespace
}  // namespace kelpra::fixtures

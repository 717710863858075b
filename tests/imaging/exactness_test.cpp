// The library against the plain transcriptions of its formulas, byte for byte, on random
// pictures of many shapes (single rows and columns, sizes below the kernel, empty ones), for
// every parameter value and at several thread counts.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>

#include "operation_table.h"
#include "picture_fixtures.h"

namespace kelpra::fixtures {
namespace {

constexpr std::pair<int, int> kShapes[] = {
    {1, 1}, {1, 9}, {9, 1}, {2, 3},   {5, 4},   {7, 7},   {3, 40},  {40, 3},
    {0, 0}, {0, 3}, {3, 0}, {33, 21}, {70, 50}, {97, 61}, {200, 4}, {4, 200},
};
constexpr int kThreadCounts[] = {1, 2, 5};

class ExactnessTest : public ::testing::TestWithParam<Operation> {};

TEST_P(ExactnessTest, MatchesPlainFormulaAtEveryThreadCount) {
  const Operation& op = GetParam();
  std::mt19937 rng(std::hash<std::string>{}(op.name) & 0xFFFF);
  std::uniform_int_distribution<int> side(1, 80);
  int run = 0;
  for (const int parameter : op.parameters) {
    const auto [fixedW, fixedH] = kShapes[run++ % std::size(kShapes)];
    for (const auto& [w, h] : {std::pair{fixedW, fixedH}, std::pair{side(rng), side(rng)}}) {
      const TBitmap original = RandomPicture(w, h, rng);
      TBitmap expected = original;
      const bool expectedResult = op.reference(expected, parameter);
      for (const int threads : kThreadCounts) {
        SCOPED_TRACE(op.name + "(" + std::to_string(parameter) + ") on " + std::to_string(w) +
                     " x " + std::to_string(h) + ", " + std::to_string(threads) + " threads");
        TBitmap actual = original;
        ASSERT_EQ(op.library(actual, parameter, threads), expectedResult);
        ASSERT_TRUE(SameBitmap(expected, actual));
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllOperations, ExactnessTest, ::testing::ValuesIn(Operations()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kelpra::fixtures

// The library against the plain transcriptions of its formulas, byte for byte, on random
// pictures of many shapes (single rows and columns, sizes below the kernel, empty ones), for
// every parameter value and at several thread counts.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numeric>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "imaging/filters.h"
#include "operation_table.h"
#include "picture_fixtures.h"
#include "reference_ops.h"

namespace kelpra::fixtures {
namespace {

constexpr std::pair<int, int> kShapes[] = {
    {1, 1}, {1, 9}, {9, 1}, {2, 3},   {5, 4},   {7, 7},   {3, 40},  {40, 3},
    {0, 0}, {0, 3}, {3, 0}, {33, 21}, {70, 50}, {97, 61}, {200, 4}, {4, 200},
};
constexpr int kThreadCounts[] = {1, 2, 3, 5};

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

// Shapes around a kernel that reaches `reach` pixels: narrower than the kernel, just as wide,
// wide enough for inner columns in several vector groups with a tail; as many heights, which
// split into bands shorter than the reach; one row, one column, and inner rows and columns at
// once.
std::vector<std::pair<int, int>> KernelShapes(int reach) {
  const int span = 2 * reach + 1;
  std::vector<std::pair<int, int>> shapes;
  for (const int side : {1, reach, span, span + 1, span + 14, span + 37}) {
    for (const int across : {1, 2, 7}) {
      shapes.push_back({side, across});
      shapes.push_back({across, side});
    }
  }
  shapes.push_back({span + 14, span + 4});
  return shapes;
}

struct FilterCase {
  std::string name;
  std::vector<int> parameters;
  int (*reach)(int parameter);
  bool (*library)(TBitmap&, int, int);
  bool (*reference)(TBitmap&, int);
};

TEST(ExactnessTest, FiltersMatchPlainFormulaOnEveryKernelPath) {
  std::vector<int> zones(30);
  std::iota(zones.begin(), zones.end(), 1);
  const FilterCase filters[] = {
      {"GaussianBlur", zones, [](int zone) { return 3 * zone; }, GaussianBlur,
       reference::GaussianBlur},
      {"Soften",
       {0, 1, 25, 30, 33, 50, 67, 75, 99, 100},
       [](int) { return 3; },
       Soften,
       reference::Soften},
      {"Sharpen",
       {0, 1, 25, 30, 50, 70, 99, 100},
       [](int) { return 1; },
       Sharpen,
       reference::Sharpen},
  };
  std::mt19937 rng(16);
  for (const FilterCase& filter : filters) {
    for (const int parameter : filter.parameters) {
      for (const auto& [w, h] : KernelShapes(filter.reach(parameter))) {
        const TBitmap original = RandomPicture(w, h, rng);
        TBitmap expected = original;
        ASSERT_TRUE(filter.reference(expected, parameter));
        for (const int threads : {1, 2, 3}) {
          SCOPED_TRACE(filter.name + "(" + std::to_string(parameter) + ") on " + std::to_string(w) +
                       " x " + std::to_string(h) + ", " + std::to_string(threads) + " threads");
          TBitmap actual = original;
          ASSERT_TRUE(filter.library(actual, parameter, threads));
          ASSERT_TRUE(SameBitmap(expected, actual));
        }
      }
    }
  }
}

// Seven channel values whose zone-1 blur, taken in the formula's precision, lies within 2^-16 of
// a half without being one: where a quotient taken in single precision could round the other
// way.
std::vector<std::array<std::uint8_t, 7>> NearHalfWindows(std::size_t count) {
  float gf[4];
  for (int i = 0; i < 4; ++i)
    gf[i] = float(std::exp(double(-(i * i)) / 2.0));
  const auto add = [](float sum, double value) { return float(double(sum) + value); };
  float weightSum = 0;
  for (int i = 0; i < 7; ++i)
    weightSum = add(weightSum, gf[std::abs(i - 3)]);
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> byte(0, 255);
  std::vector<std::array<std::uint8_t, 7>> windows;
  while (windows.size() < count) {
    std::array<std::uint8_t, 7> window;
    float sum = 0;
    for (int i = 0; i < 7; ++i) {
      window[i] = std::uint8_t(byte(rng));
      sum = add(sum, double(window[i]) * double(gf[std::abs(i - 3)]));
    }
    const double quotient = double(sum) / double(weightSum);
    const double fromHalf = std::abs(quotient - std::floor(quotient) - 0.5);
    if (fromHalf != 0 && fromHalf < 0x1p-16)
      windows.push_back(window);
  }
  return windows;
}

// Each window across the inner columns of one row, and down the rows of a picture whose rows are
// uniform, so that the first pass leaves it as it is.
TEST(ExactnessTest, BlurRoundsQuotientsNextToAHalfAsTheFormulaDoes) {
  std::mt19937 rng(8);
  std::uniform_int_distribution<int> byte(0, 255);
  const auto other = [&] { return std::uint8_t(byte(rng)); };
  for (const auto& window : NearHalfWindows(40)) {
    const TBitmap across = MakePicture(11, 1, [&](int x, int) {
      return Bgr(x >= 2 && x < 9 ? window[x - 2] : other(), other(), other());
    });
    std::array<TRGBTriple, 7> rowColours;
    for (int y = 0; y < 7; ++y)
      rowColours[y] = Bgr(other(), window[y], other());
    const TBitmap down = MakePicture(4, 7, [&](int, int y) { return rowColours[y]; });
    for (const TBitmap* original : {&across, &down}) {
      for (const int percent : {30, 100}) {
        TBitmap expected = *original;
        TBitmap actual = *original;
        ASSERT_TRUE(reference::Soften(expected, percent));
        ASSERT_TRUE(Soften(actual, percent, 1));
        ASSERT_TRUE(SameBitmap(expected, actual));
      }
    }
  }
}

}  // namespace
}  // namespace kelpra::fixtures

#include "operation_table.h"

#include <climits>
#include <numeric>
#include <random>

#include "imaging/filters.h"
#include "imaging/geometry.h"
#include "imaging/tone.h"
#include "picture_fixtures.h"
#include "reference_ops.h"

namespace kelpra::fixtures {

namespace {

std::vector<int> Span(int first, int last) {
  std::vector<int> values(last - first + 1);
  std::iota(values.begin(), values.end(), first);
  return values;
}

// SideBySide's parameter picks the gap (0..5) and a right page of its own size and pixels.
constexpr int kSplits = 6;
TBitmap RightPage(int parameter) {
  std::mt19937 rng(parameter);
  return RandomPicture(1 + parameter * 7 % 13, 1 + parameter * 5 % 17, rng);
}

std::vector<Operation> MakeOperations() {
  std::vector<int> brightness = Span(-102, 102);
  brightness.insert(brightness.end(), {-1000, 1000, INT_MIN, INT_MAX});
  return {
      {"Rotate90",
       {0, 1},
       [](TBitmap& b, int plus, int threads) { return Rotate90(b, plus != 0, threads); },
       [](TBitmap& b, int plus) { return reference::Rotate90(b, plus != 0); }},
      {"Rotate180",
       {0},
       [](TBitmap& b, int, int threads) { return Rotate180(b, threads); },
       [](TBitmap& b, int) { return reference::Rotate180(b); }},
      {"SideBySide", Span(0, 2 * kSplits - 1),
       [](TBitmap& b, int p, int threads) {
         return SideBySide(b, RightPage(p), clBtnShadow, p % kSplits, threads);
       },
       [](TBitmap& b, int p) {
         TBitmap right = RightPage(p);
         return reference::SideBySide(b, right, clBtnShadow, p % kSplits);
       }},
      {"GrayScale",
       {0},
       [](TBitmap& b, int, int threads) { return GrayScale(b, threads); },
       [](TBitmap& b, int) { return reference::GrayScale(b); }},
      {"Brightness", brightness,
       [](TBitmap& b, int p, int threads) { return Brightness(b, p, threads); },
       reference::Brightness},
      {"Contrast", Span(-101, 101),
       [](TBitmap& b, int p, int threads) { return Contrast(b, p, threads); }, reference::Contrast},
      {"Sharpen", Span(-1, 101),
       [](TBitmap& b, int p, int threads) { return Sharpen(b, p, threads); }, reference::Sharpen},
      {"GaussianBlur", Span(0, 31),
       [](TBitmap& b, int p, int threads) { return GaussianBlur(b, p, threads); },
       reference::GaussianBlur},
      {"Soften", Span(-1, 101),
       [](TBitmap& b, int p, int threads) { return Soften(b, p, threads); }, reference::Soften},
  };
}

}  // namespace

const std::vector<Operation>& Operations() {
  static const std::vector<Operation> operations = MakeOperations();
  return operations;
}

void PrintTo(const Operation& op, std::ostream* os) {
  *os << op.name;
}

}  // namespace kelpra::fixtures

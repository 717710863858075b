// Where Next and Previous go, as pure decisions.
#include "core/page_turn.h"

#include <gtest/gtest.h>

namespace kelpra {
namespace {

struct TurnCase {
  const char* name;
  int count;
  PagePosition at;
  bool twoPics;
  bool landscape;
  TurnOptions options;
  std::optional<PagePosition> next;
  std::optional<PagePosition> previous;
};

constexpr TurnOptions kDefault{};
constexpr TurnOptions kHalves{true, true, false, false};
constexpr TurnOptions kNoCycle{false, false, false, false};
constexpr TurnOptions kTurnSingle{false, true, true, false};

class PageTurnTest : public ::testing::TestWithParam<TurnCase> {};

TEST_P(PageTurnTest, NextAndPrevious) {
  const TurnCase& c = GetParam();
  EXPECT_EQ(NextPosition(c.count, c.at, c.twoPics, c.landscape, c.options), c.next);
  EXPECT_EQ(PreviousPosition(c.count, c.at, c.landscape, c.options), c.previous);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PageTurnTest,
    ::testing::Values(
        TurnCase{"one_page", 5, {2, 1}, false, false, kDefault, {{3, 1}}, {{1, 1}}},
        TurnCase{"after_a_spread", 5, {1, 1}, true, false, kDefault, {{3, 1}}, {{0, 1}}},
        TurnCase{"spread_at_the_end_wraps", 5, {3, 1}, true, false, kDefault, {{0, 1}}, {{2, 1}}},
        TurnCase{"last_pairs_with_first", 5, {4, 1}, true, false, kDefault, {{1, 1}}, {{3, 1}}},
        TurnCase{"turn_single", 5, {1, 1}, true, false, kTurnSingle, {{2, 1}}, {{0, 1}}},
        TurnCase{"ends_without_cycling", 3, {2, 1}, false, false, kNoCycle, std::nullopt, {{1, 1}}},
        TurnCase{
            "start_without_cycling", 3, {0, 1}, false, false, kNoCycle, {{1, 1}}, std::nullopt},
        TurnCase{"start_cycles_back", 3, {0, 1}, false, false, kDefault, {{1, 1}}, {{2, 1}}},
        TurnCase{"first_half_of_a_scan", 3, {1, 1}, false, true, kHalves, {{1, 2}}, {{0, 2}}},
        TurnCase{"second_half_of_a_scan", 3, {1, 2}, false, true, kHalves, {{2, 1}}, {{1, 1}}},
        TurnCase{"halves_on_a_portrait_page", 3, {1, 1}, false, false, kHalves, {{2, 1}}, {{0, 2}}},
        TurnCase{"empty_list", 0, {0, 1}, false, false, kDefault, {{0, 1}}, {{0, 1}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelpra

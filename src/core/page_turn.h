// Where Next and Previous go: pure decisions, so that the window's commands and the read-ahead
// that foresees them agree.
#pragma once

#include <optional>

namespace kelpra {

struct PagePosition {
  int ndxR = 0;
  int half = 1;

  bool operator==(const PagePosition&) const = default;
};

// The options that decide how pages are stepped.
struct TurnOptions {
  bool landscapeHalf = false;  // "Landscape 1/2"
  bool cyclic = true;          // "Cyclic"
  bool turnSingle = false;     // "Turn single page"
  bool singlePicture = false;  // "Single picture"
};

// The position after Next from `at` in a list of count files; none at the last page with
// "Cyclic" off. currentIsLandscape matters only with "Landscape 1/2" on and a list not empty;
// twoPics tells whether the last rendering showed a spread.
std::optional<PagePosition> NextPosition(int count, PagePosition at, bool twoPics,
                                         bool currentIsLandscape, const TurnOptions& options);

// The position after Previous; none at the first page with "Cyclic" off.
std::optional<PagePosition> PreviousPosition(int count, PagePosition at, bool currentIsLandscape,
                                             const TurnOptions& options);

}  // namespace kelpra

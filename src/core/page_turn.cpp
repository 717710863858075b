#include "core/page_turn.h"

#include <algorithm>

namespace kelpra {

std::optional<PagePosition> NextPosition(int count, PagePosition at, bool twoPics,
                                         bool currentIsLandscape, const TurnOptions& options) {
  if (options.landscapeHalf && count > 0 && currentIsLandscape && at.half == 1)
    return PagePosition{at.ndxR, 2};
  int ndxR = at.ndxR;
  if (ndxR < count - 1) {
    ++ndxR;
  } else if (options.cyclic) {
    ndxR = 0;
  } else {
    return std::nullopt;
  }
  // After a spread the second page has been seen too; the last page pairs with the first.
  if (!options.turnSingle && !options.singlePicture && twoPics) {
    ++ndxR;
    if (ndxR >= count)
      ndxR = 0;
  }
  return PagePosition{ndxR, 1};
}

std::optional<PagePosition> PreviousPosition(int count, PagePosition at, bool currentIsLandscape,
                                             const TurnOptions& options) {
  if (options.landscapeHalf && count > 0 && currentIsLandscape && at.half == 2)
    return PagePosition{at.ndxR, 1};
  int ndxR = at.ndxR;
  if (ndxR > 0) {
    --ndxR;
  } else if (options.cyclic) {
    ndxR = std::max(count - 1, 0);
  } else {
    return std::nullopt;
  }
  // Stepping back into a scan shows the half read second.
  return PagePosition{ndxR, options.landscapeHalf ? 2 : at.half};
}

}  // namespace kelpra

// The sample book's pages: paper, lines of "text" and a big page label a person can read from
// across the room. Few flat colours, so every page also fits a GIF colour table exactly.
#pragma once

#include <string_view>

#include "imaging/bitmap.h"

namespace kelpra::sample {

// A portrait page labelled with label (digits and '-').
TBitmap DrawPage(int width, int height, std::string_view label, unsigned seed);

// A landscape scan of two facing pages: the right half, read first, labelled "<label>-1", the
// left half "<label>-2".
TBitmap DrawScan(int width, int height, std::string_view label, unsigned seed);

}  // namespace kelpra::sample

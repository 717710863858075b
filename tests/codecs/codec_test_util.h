// Decoding helpers shared by the codec tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "codecs/picture_loader.h"

namespace kelpra::test {

// LoadFile's decoding of bytes; the failure message, or empty on success.
inline std::string DecodeError(const std::vector<std::uint8_t>& bytes, TBitmap& bmp,
                               const std::string& name = "t.bmp") {
  try {
    DecodePicture(bytes, name, bmp);
    return {};
  } catch (const PictureError& error) {
    return error.what();
  }
}

// The largest difference of any channel of any pixel; -1 when the sizes differ.
inline int MaxChannelDifference(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height())
    return -1;
  int most = 0;
  for (int y = 0; y < a.Height(); ++y) {
    for (int i = 0; i < 3 * a.Width(); ++i) {
      most = std::max(most, std::abs(int(a.ScanLine(y)[i]) - int(b.ScanLine(y)[i])));
    }
  }
  return most;
}

}  // namespace kelpra::test

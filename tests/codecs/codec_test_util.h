// Decoding helpers shared by the codec tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
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

// Resets the peak resident size to the present one; false where the system cannot.
inline bool ResetPeakMemory() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return bool(clear);
}

// A memory size of this process in MB: "VmRSS" now, "VmHWM" at its peak since the last reset.
inline long MemoryMb(const std::string& field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(field + ":", 0) == 0)
      return std::stol(line.substr(field.size() + 1)) / 1024;
  }
  return -1;
}

}  // namespace kelpra::test

#include "gif_bytes.h"

#include <algorithm>

namespace kelpra::test {

namespace {

void Put16(std::vector<std::uint8_t>& out, int value) {
  out.push_back(std::uint8_t(value));
  out.push_back(std::uint8_t(value >> 8));
}

// Table size field n: the table holds 2^(n+1) entries.
int SizeField(std::size_t count) {
  int n = 0;
  while ((std::size_t(2) << n) < count)
    ++n;
  return n;
}

void PutTable(std::vector<std::uint8_t>& out, const std::vector<TColor>& table) {
  const std::size_t entries = std::size_t(2) << SizeField(table.size());
  for (std::size_t i = 0; i < entries; ++i) {
    const TColor c = i < table.size() ? table[i] : 0;
    out.insert(out.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
  }
}

// LZW with literal codes only: a clear code before the table would grow past the code width.
std::vector<std::uint8_t> Compress(const std::vector<int>& pixels, int codeSize) {
  const int clear = 1 << codeSize;
  const int width = codeSize + 1;
  const int literalsPerClear = clear - 2;
  std::vector<std::uint8_t> bytes;
  std::uint32_t buffer = 0;
  int bits = 0;
  auto put = [&](int code) {
    buffer |= std::uint32_t(code) << bits;
    bits += width;
    while (bits >= 8) {
      bytes.push_back(std::uint8_t(buffer));
      buffer >>= 8;
      bits -= 8;
    }
  };
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    if (i % literalsPerClear == 0)
      put(clear);
    put(pixels[i]);
  }
  put(clear + 1);
  if (bits > 0)
    bytes.push_back(std::uint8_t(buffer));
  return bytes;
}

std::vector<int> StoredOrder(const GifFrame& frame) {
  std::vector<int> order;
  if (!frame.interlaced) {
    for (int y = 0; y < frame.height; ++y)
      order.push_back(y);
    return order;
  }
  const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = start[pass]; y < frame.height; y += step[pass])
      order.push_back(y);
  }
  return order;
}

}  // namespace

std::vector<std::uint8_t> BuildGif(const GifLayout& layout) {
  std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(out, layout.screenWidth);
  Put16(out, layout.screenHeight);
  const bool global = !layout.globalTable.empty();
  out.push_back(std::uint8_t((global ? 0x80 : 0) | 0x70 |
                             (global ? SizeField(layout.globalTable.size()) : 0)));
  out.push_back(std::uint8_t(layout.background));
  out.push_back(0);
  if (global)
    PutTable(out, layout.globalTable);
  for (const GifFrame& frame : layout.frames) {
    if (frame.transparent) {
      out.insert(out.end(), {0x21, 0xF9, 4, 1, 0, 0, std::uint8_t(*frame.transparent), 0});
    }
    out.push_back(0x2C);
    Put16(out, frame.left);
    Put16(out, frame.top);
    Put16(out, frame.width);
    Put16(out, frame.height);
    const bool local = !frame.localTable.empty();
    out.push_back(std::uint8_t((local ? 0x80 | SizeField(frame.localTable.size()) : 0) |
                               (frame.interlaced ? 0x40 : 0)));
    if (local)
      PutTable(out, frame.localTable);
    const std::size_t tableSize = std::max(frame.localTable.size(), layout.globalTable.size());
    const int codeSize = layout.codeSize ? layout.codeSize : std::max(2, SizeField(tableSize) + 1);
    out.push_back(std::uint8_t(codeSize));
    std::vector<int> pixels;
    for (int row : StoredOrder(frame)) {
      pixels.insert(pixels.end(), frame.rows[std::size_t(row)].begin(),
                    frame.rows[std::size_t(row)].end());
    }
    const std::vector<std::uint8_t> data = Compress(pixels, codeSize);
    for (std::size_t at = 0; at < data.size(); at += 255) {
      const std::size_t n = std::min<std::size_t>(255, data.size() - at);
      out.push_back(std::uint8_t(n));
      out.insert(out.end(), data.begin() + std::ptrdiff_t(at),
                 data.begin() + std::ptrdiff_t(at + n));
    }
    out.push_back(0);
  }
  out.push_back(0x3B);
  return out;
}

}  // namespace kelpra::test

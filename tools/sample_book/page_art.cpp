#include "page_art.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace kelpra::sample {

namespace {

constexpr TColor kInk = RGB(40, 48, 96);
constexpr TColor kText = RGB(150, 150, 150);
constexpr TColor kRule = RGB(200, 170, 120);

// Paper tints, one per page in turn.
constexpr TColor kPapers[] = {RGB(255, 252, 240), RGB(240, 248, 255), RGB(245, 255, 240),
                              RGB(255, 240, 245), RGB(250, 245, 230)};

void Fill(TBitmap& bmp, int left, int top, int right, int bottom, TColor color) {
  bmp.BrushColor = color;
  bmp.FillRect({left, top, right, bottom});
}

// Segments a..g of a seven-segment glyph, as bits 0..6.
unsigned Segments(char c) {
  static constexpr unsigned kDigits[] = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                         0x6D, 0x7D, 0x07, 0x7F, 0x6F};
  if (c >= '0' && c <= '9')
    return kDigits[c - '0'];
  return c == '-' ? 0x40 : 0;
}

void DrawGlyph(TBitmap& bmp, int x, int y, int w, int h, char c) {
  const int t = w / 5;  // stroke thickness
  const int mid = y + (h - t) / 2;
  const struct {
    int left, top, right, bottom;
  } segment[] = {{x, y, x + w, y + t},           {x + w - t, y, x + w, mid + t},
                 {x + w - t, mid, x + w, y + h}, {x, y + h - t, x + w, y + h},
                 {x, mid, x + t, y + h},         {x, y, x + t, mid + t},
                 {x, mid, x + w, mid + t}};
  const unsigned bits = Segments(c);
  for (int i = 0; i < 7; ++i) {
    if (bits & (1u << i)) {
      Fill(bmp, segment[i].left, segment[i].top, segment[i].right, segment[i].bottom, kInk);
    }
  }
}

// The label centred in the area, as large as a third of its width per glyph allows.
void DrawLabel(TBitmap& bmp, int left, int width, int height, std::string_view label) {
  const int count = int(label.size());
  const int glyphW = std::min(width * 2 / (3 * count + 1), height / 4);
  const int glyphH = glyphW * 2;
  const int gap = glyphW / 2;
  const int total = count * glyphW + (count - 1) * gap;
  int x = left + (width - total) / 2;
  const int y = (height - glyphH) / 2;
  for (char c : label) {
    DrawGlyph(bmp, x, y, glyphW, glyphH, c);
    x += glyphW + gap;
  }
}

// Lines of grey bars above and below the label, of lengths that vary from page to page.
void DrawText(TBitmap& bmp, int left, int width, int height, unsigned seed) {
  const int margin = width / 10;
  const int lineH = std::max(height / 60, 2);
  unsigned state = seed * 2654435761u + 12345u;
  for (int y = margin; y + lineH <= height - margin; y += 2 * lineH) {
    if (y > height / 4 && y < height * 3 / 4)
      continue;  // room for the label
    state = state * 1103515245u + 12345u;
    const int length = (width - 2 * margin) * int(60 + (state >> 16) % 41) / 100;
    Fill(bmp, left + margin, y, left + margin + length, y + lineH, kText);
  }
  Fill(bmp, left + margin / 2, margin / 2, left + width - margin / 2, margin / 2 + 2, kRule);
}

}  // namespace

TBitmap DrawPage(int width, int height, std::string_view label, unsigned seed) {
  TBitmap page(width, height);
  Fill(page, 0, 0, width, height, kPapers[seed % std::size(kPapers)]);
  DrawText(page, 0, width, height, seed);
  DrawLabel(page, 0, width, height, label);
  return page;
}

TBitmap DrawScan(int width, int height, std::string_view label, unsigned seed) {
  TBitmap scan(width, height);
  const int half = width / 2;
  Fill(scan, 0, 0, width, height, kPapers[seed % std::size(kPapers)]);
  DrawText(scan, 0, half, height, seed);
  DrawText(scan, half, width - half, height, seed + 1);
  Fill(scan, half - 1, 0, half + 1, height, kRule);  // the fold
  DrawLabel(scan, half, width - half, height, std::string(label) + "-1");
  DrawLabel(scan, 0, half, height, std::string(label) + "-2");
  return scan;
}

}  // namespace kelpra::sample

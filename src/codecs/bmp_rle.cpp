// RLE4 and RLE8 BMP pixels: runs, literal runs, end of line, end of bitmap and deltas. Every
// run and move is checked against the picture's edges; pixels the data skips keep index 0.
#include "codecs/bmp_format.h"
#include "codecs/picture_decoder.h"

namespace kelpra::bmp {

namespace {

class RleCursor {
 public:
  RleCursor(std::span<const std::uint8_t> data, const Layout& layout, TBitmap& out)
      : data_(data), pos_(layout.pixelOffset), layout_(layout), out_(out) {}

  bool AtEnd() const { return row_ >= layout_.height; }
  std::uint8_t Next() {
    if (pos_ >= data_.size())
      throw BrokenPicture("the BMP data is truncated");
    return data_[pos_++];
  }
  void Put(unsigned index) {
    CheckIndex(index, layout_);
    const int y = layout_.topDown ? row_ : layout_.height - 1 - row_;
    out_.ScanLine(y)[x_++] = std::uint8_t(index);
  }
  void NeedRoom(int count) const {
    if (count > layout_.width - x_) {
      throw BrokenPicture("the BMP RLE data runs past the end of a row");
    }
  }
  void EndOfLine() {
    x_ = 0;
    ++row_;
  }
  void Finish() { row_ = layout_.height; }
  void Move(int dx, int dy) {
    if (dx > layout_.width - x_ || dy >= layout_.height - row_) {
      throw BrokenPicture("the BMP RLE data moves past the edge of the picture");
    }
    x_ += dx;
    row_ += dy;
  }
  void SkipPadding(int bytes) {
    if (bytes % 2)
      Next();
  }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t pos_;
  const Layout& layout_;
  TBitmap& out_;
  int x_ = 0;
  int row_ = 0;  // in file order: the bottom row first unless top-down
};

}  // namespace

void ReadRle(std::span<const std::uint8_t> data, const Layout& layout, TBitmap& out) {
  const bool rle4 = layout.compression == kRle4;
  RleCursor cursor(data, layout, out);
  while (!cursor.AtEnd()) {
    const int count = cursor.Next();
    const std::uint8_t value = cursor.Next();
    if (count > 0) {
      cursor.NeedRoom(count);
      for (int i = 0; i < count; ++i) {
        cursor.Put(rle4 ? (i % 2 ? value & 0x0F : value >> 4) : value);
      }
    } else if (value == 0) {
      cursor.EndOfLine();
    } else if (value == 1) {
      cursor.Finish();
    } else if (value == 2) {
      const int dx = cursor.Next();
      const int dy = cursor.Next();
      cursor.Move(dx, dy);
    } else {
      // A literal run of `value` pixels, padded to a 16-bit boundary.
      cursor.NeedRoom(value);
      std::uint8_t pair = 0;
      for (int i = 0; i < value; ++i) {
        if (!rle4) {
          cursor.Put(cursor.Next());
        } else {
          if (i % 2 == 0)
            pair = cursor.Next();
          cursor.Put(i % 2 ? pair & 0x0F : pair >> 4);
        }
      }
      cursor.SkipPadding(rle4 ? (value + 1) / 2 : value);
    }
  }
}

}  // namespace kelpra::bmp

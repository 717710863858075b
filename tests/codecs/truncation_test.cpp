// Every prefix of a small valid file of each format is refused with a message naming the format
// and the truncation, and no prefix crashes.
#include <gtest/gtest.h>

#include <functional>

#include "bmp_bytes.h"
#include "codec_test_util.h"
#include "gif_bytes.h"
#include "library_fixtures.h"
#include "support/test_pictures.h"

namespace kelpra::test {
namespace {

struct ValidFile {
  const char* name;
  const char* format;     // as the messages name it
  std::size_t signature;  // shorter prefixes are not recognised at all
  std::function<std::vector<std::uint8_t>()> make;
};

std::vector<std::uint8_t> SmallGif(bool interlaced) {
  GifFrame frame{.left = 1, .width = 4, .height = 5, .interlaced = interlaced, .transparent = 2};
  frame.rows.assign(5, {0, 1, 2, 1});
  const GifLayout layout{.screenWidth = 6,
                         .screenHeight = 5,
                         .globalTable = {RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9)},
                         .frames = {frame}};
  std::vector<std::uint8_t> bytes = BuildGif(layout);
  return bytes;
}

std::vector<std::uint8_t> Bmp(int bits, std::uint32_t compression, std::vector<std::uint8_t> pixels,
                              int width) {
  return BuildBmp({.width = width,
                   .height = 2,
                   .bitCount = bits,
                   .compression = compression,
                   .palette = bits <= 8 ? std::vector<TRGBQuad>(4) : std::vector<TRGBQuad>{},
                   .pixels = std::move(pixels)});
}

const ValidFile kFiles[] = {
    {"bmp24", "BMP", 2, [] { return Bmp(24, 0, std::vector<std::uint8_t>(2 * 12, 7), 3); }},
    {"bmp4", "BMP", 2,
     [] {
       return Bmp(4, 0, {0x12, 0x30, 0, 0, 0x33, 0x21, 0, 0}, 3);
     }},
    {"bmp_rle8", "BMP", 2,
     [] {
       return Bmp(8, 1, {3, 1, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1}, 3);
     }},
    {"jpeg_baseline", "JPEG", 3, [] { return EncodeJpeg(MakePicture(9, 9), {}); }},
    {"jpeg_progressive", "JPEG", 3,
     [] { return EncodeJpeg(MakePicture(9, 9), {.components = 3, .scans = 40}); }},
    {"jpeg_cmyk", "JPEG", 3, [] { return EncodeJpeg(MakePicture(9, 9), {.components = 4}); }},
    {"gif", "GIF", 6, [] { return SmallGif(false); }},
    {"gif_interlaced", "GIF", 6, [] { return SmallGif(true); }},
    {"png_rgb", "PNG", 8,
     [] {
       return EncodePng({2, 2, 2, 8, false, std::vector<std::uint8_t>(12, 9)});
     }},
    {"png_palette", "PNG", 8,
     [] {
       return EncodePng({3, 2, 3, 4, false, {0, 1, 2, 2, 1, 0}, std::vector<TRGBQuad>(3)});
     }},
    {"png_rgba16_interlaced", "PNG", 8,
     [] {
       return EncodePng({3, 3, 6, 16, true, std::vector<std::uint8_t>(72, 0x55)});
     }},
    {"png_text", "PNG", 8,
     [] {
       PngLayout layout{1, 1, 0, 8, false, {5}};
       layout.textBytes = 40;
       return EncodePng(layout);
     }},
};

TEST(TruncationTest, EveryPrefixIsAnErrorNamingTheFormat) {
  for (const ValidFile& file : kFiles) {
    SCOPED_TRACE(file.name);
    const std::vector<std::uint8_t> whole = file.make();
    TBitmap bmp;
    ASSERT_EQ(DecodeError(whole, bmp, "t"), "");
    // GIF stops after its first picture: only the trailer byte may be missing.
    const std::size_t mustFailBelow =
        std::string(file.format) == "GIF" ? whole.size() - 1 : whole.size();
    for (std::size_t length = 1; length < mustFailBelow; ++length) {
      const std::vector<std::uint8_t> prefix(whole.begin(), whole.begin() + std::ptrdiff_t(length));
      const std::string error = DecodeError(prefix, bmp, "t");
      if (length < file.signature) {
        EXPECT_EQ(error, "Cannot read picture \"t\": it is not a BMP, JPEG, GIF or PNG picture")
            << "length " << length;
      } else {
        EXPECT_EQ(error.rfind(std::string("Cannot read picture \"t\": the ") + file.format, 0), 0u)
            << "length " << length << ": " << error;
        EXPECT_NE(error.find("truncated"), std::string::npos)
            << "length " << length << ": " << error;
      }
    }
  }
}

}  // namespace
}  // namespace kelpra::test

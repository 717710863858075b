// Damaged and hostile files made in code: each is refused with a message that names the problem
// the recognising decoder found.
#include <gtest/gtest.h>
#include <zlib.h>

#include <climits>
#include <cstring>
#include <functional>

#include "bmp_bytes.h"
#include "codec_test_util.h"
#include "gif_bytes.h"
#include "library_fixtures.h"
#include "support/test_pictures.h"

namespace kelpra::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct MalformedCase {
  const char* name;
  std::function<Bytes()> make;
  const char* problem;  // the message, after "Cannot read picture \"t\": "
};

const std::vector<TRGBQuad> kTwoColours(2);

Bytes Rle8(int width, int height, Bytes stream) {
  return BuildBmp({.width = width,
                   .height = height,
                   .bitCount = 8,
                   .compression = 1,
                   .palette = kTwoColours,
                   .pixels = std::move(stream)});
}

Bytes Rle4(int width, Bytes stream) {
  return BuildBmp({.width = width,
                   .height = 1,
                   .bitCount = 4,
                   .compression = 2,
                   .palette = kTwoColours,
                   .pixels = std::move(stream)});
}

Bytes Bitfields(std::array<std::uint32_t, 3> masks) {
  return BuildBmp({.width = 1,
                   .height = 1,
                   .bitCount = 16,
                   .compression = 3,
                   .masks = masks,
                   .pixels = Bytes(4, 0)});
}

Bytes Bmp24(int width, int height) {
  return BuildBmp({.width = width, .height = height, .pixels = Bytes(16, 0)});
}

Bytes Patched(Bytes bytes, std::size_t at, std::uint32_t value) {
  Poke32(bytes, at, value);
  return bytes;
}

Bytes Patched16(Bytes bytes, std::size_t at, std::uint32_t value) {
  Poke16(bytes, at, value);
  return bytes;
}

const std::vector<TColor> kGifTable = {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4)};

Bytes Gif(int screenWidth, int screenHeight, std::vector<TColor> table, int background,
          GifFrame frame) {
  if (frame.rows.empty()) {
    frame.rows.assign(std::size_t(frame.height), std::vector<int>(std::size_t(frame.width), 0));
  }
  return BuildGif({.screenWidth = screenWidth,
                   .screenHeight = screenHeight,
                   .globalTable = std::move(table),
                   .background = background,
                   .frames = {frame}});
}

// Gives the first frame another size in its descriptor, which follows the screen and its four
// colours.
Bytes WithFrameSize(Bytes gif, int width, int height) {
  const std::size_t at = 13 + 12;
  Poke16(gif, at + 5, std::uint32_t(width));
  Poke16(gif, at + 7, std::uint32_t(height));
  return gif;
}

std::uint32_t ChunkLength(const Bytes& png, std::size_t at) {
  return std::uint32_t(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
}

// A PNG chunk's position by its type.
std::size_t FindChunk(const Bytes& png, const char* type) {
  for (std::size_t at = 8; at + 8 <= png.size();) {
    if (std::memcmp(png.data() + at + 4, type, 4) == 0)
      return at;
    at += 12 + ChunkLength(png, at);
  }
  throw std::runtime_error("no such chunk");
}

// Makes the CRC of the chunk at `at` match its changed contents again.
void RightCrc(Bytes& png, std::size_t at) {
  const std::uint32_t length = ChunkLength(png, at);
  const std::uint32_t crc = std::uint32_t(crc32(0, png.data() + at + 4, 4 + length));
  for (int i = 0; i < 4; ++i)
    png[at + 8 + length + i] = std::uint8_t(crc >> (24 - 8 * i));
}

Bytes SmallPng() {
  return EncodePng({4, 3, 2, 8, false, Bytes(36, 77)});
}

Bytes PngWithBadCrc(const char* chunk) {
  Bytes png = SmallPng();
  const std::size_t at = FindChunk(png, chunk);
  png[at + 8 + ChunkLength(png, at)] ^= 0x40;
  return png;
}

Bytes PngWithTextFlipped() {
  PngLayout layout{2, 1, 2, 8, false, {10, 20, 30, 40, 50, 60}};
  layout.textBytes = 10;
  Bytes png = EncodePng(layout);
  png[FindChunk(png, "tEXt") + 10] ^= 0x01;
  return png;
}

Bytes PngWithHugeTextChunk() {
  Bytes png = SmallPng();
  const std::size_t at = FindChunk(png, "IDAT");
  const Bytes chunk = {0x7F, 0xFF, 0xFF, 0xF0, 't', 'E', 'X', 't', 'a', 0, 'b'};
  png.insert(png.begin() + std::ptrdiff_t(at), chunk.begin(), chunk.end());
  return png;
}

Bytes PngWithBadDeflate() {
  Bytes png = SmallPng();
  const std::size_t at = FindChunk(png, "IDAT");
  for (std::size_t i = 2; i < ChunkLength(png, at); ++i)
    png[at + 8 + i] = 0xFF;
  RightCrc(png, at);
  return png;
}

Bytes PngClaiming(std::uint32_t width, std::uint32_t height) {
  Bytes png = SmallPng();
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = std::uint8_t(width >> (24 - 8 * i));
    png[20 + i] = std::uint8_t(height >> (24 - 8 * i));
  }
  return png;
}

// The position of a baseline JPEG's SOF0 marker.
std::size_t FindSof0(const Bytes& jpeg) {
  for (std::size_t at = 2; at + 9 < jpeg.size(); ++at) {
    if (jpeg[at] == 0xFF && jpeg[at + 1] == 0xC0)
      return at;
  }
  throw std::runtime_error("no SOF0");
}

Bytes JpegClaiming(int width, int height) {
  Bytes jpeg = EncodeJpeg(MakePicture(8, 8), {});
  const std::size_t at = FindSof0(jpeg);
  jpeg[at + 5] = std::uint8_t(height >> 8), jpeg[at + 6] = std::uint8_t(height);
  jpeg[at + 7] = std::uint8_t(width >> 8), jpeg[at + 8] = std::uint8_t(width);
  return jpeg;
}

// An extended sequential (SOF1) header with this many bits per sample.
Bytes JpegWithPrecision(int bits) {
  Bytes jpeg = EncodeJpeg(MakePicture(8, 8), {});
  const std::size_t at = FindSof0(jpeg);
  jpeg[at + 1] = 0xC1;
  jpeg[at + 4] = std::uint8_t(bits);
  return jpeg;
}

const char* const kTooLarge65535 =
    "the picture is too large (65535 x 65535 pixels; at most 65535 per side and 268435456 in all "
    "can be shown)";

const MalformedCase kCases[] = {
    {"bmp_rle8_run_past_row",
     [] {
       return Rle8(4, 1, {5, 1, 0, 1});
     },
     "the BMP RLE data runs past the end of a row"},
    {"bmp_rle8_literal_past_row",
     [] {
       return Rle8(4, 1, {0, 5, 1, 1, 1, 1, 1, 0});
     },
     "the BMP RLE data runs past the end of a row"},
    {"bmp_rle4_run_past_row",
     [] {
       return Rle4(3, {4, 0x11, 0, 1});
     },
     "the BMP RLE data runs past the end of a row"},
    {"bmp_rle_delta_past_picture",
     [] {
       return Rle8(4, 2, {0, 2, 0, 5});
     },
     "the BMP RLE data moves past the edge of the picture"},
    {"bmp_rle_delta_past_row",
     [] {
       return Rle8(4, 2, {2, 1, 0, 2, 3, 0});
     },
     "the BMP RLE data moves past the edge of the picture"},
    {"bmp_rle_without_end",
     [] {
       return Rle8(2, 2, {2, 1});
     },
     "the BMP data is truncated"},
    {"bmp_rle_index_past_palette",
     [] {
       return Rle8(2, 1, {2, 7, 0, 1});
     },
     "the BMP picture uses colour 7, but its colour table has only 2 entries"},
    {"bmp_index_past_palette",
     [] {
       return BuildBmp({.width = 2,
                        .height = 1,
                        .bitCount = 8,
                        .palette = kTwoColours,
                        .pixels = {1, 9, 0, 0}});
     },
     "the BMP picture uses colour 9, but its colour table has only 2 entries"},
    {"bmp_bitfields_zero_mask",
     [] {
       return Bitfields({0xF800, 0, 0x1F});
     },
     "the BMP colour masks are invalid"},
    {"bmp_bitfields_overlap",
     [] {
       return Bitfields({0xF800, 0x0FE0, 0x1F});
     },
     "the BMP colour masks are invalid"},
    {"bmp_bitfields_gap",
     [] {
       return Bitfields({0xF000, 0x0F0F, 0x00F0});
     },
     "the BMP colour masks are invalid"},
    {"bmp_bitfields_past_depth",
     [] {
       return Bitfields({0x1F0000, 0x07E0, 0x1F});
     },
     "the BMP colour masks are invalid"},
    {"bmp_data_offset_past_end", [] { return Patched(Bmp24(1, 1), 10, 5000); },
     "the BMP file is truncated (its pixel data would start past its end)"},
    {"bmp_data_offset_in_header", [] { return Patched(Bmp24(1, 1), 10, 20); },
     "the BMP header is damaged (the pixel data would start inside it)"},
    {"bmp_height_int_min", [] { return Patched(Bmp24(1, 1), 22, 0x80000000u); },
     "the picture is too large (1 x 2147483648 pixels; at most 65535 per side and 268435456 in "
     "all can be shown)"},
    {"bmp_claims_65535_square", [] { return Bmp24(65535, 65535); }, kTooLarge65535},
    {"bmp_claims_most_pixels_in_tiny_file", [] { return Bmp24(16384, 16384); },
     "the BMP file is too short for its 16384 x 16384 pixels (it is truncated)"},
    {"bmp_claims_huge_rle_picture",
     [] {
       return Rle8(65535, 65535, {0, 1});
     },
     kTooLarge65535},
    {"bmp_width_zero", [] { return Bmp24(0, 1); }, "the picture's size 0 x 1 is invalid"},
    {"bmp_header_size_64", [] { return Patched(Bmp24(1, 1), 14, 64); },
     "the BMP header has an unsupported size (64 bytes)"},
    {"bmp_zero_planes", [] { return Patched16(Bmp24(1, 1), 26, 0); },
     "the BMP header is damaged (0 colour planes)"},
    {"bmp_jpeg_inside", [] { return Patched(Bmp24(1, 1), 30, 4); },
     "the BMP holds JPEG data, which is not supported"},
    {"bmp_unknown_compression", [] { return Patched(Bmp24(1, 1), 30, 77); },
     "the BMP uses an unknown compression (77)"},
    {"bmp_bad_bit_count", [] { return Patched16(Bmp24(1, 1), 28, 7); },
     "the BMP header is damaged (7 bits per pixel with compression 0)"},
    {"gif_no_colour_table", [] { return Gif(2, 2, {}, 0, {.width = 2, .height = 2}); },
     "the GIF picture has no colour table"},
    {"gif_background_past_table", [] { return Gif(3, 2, kGifTable, 9, {.width = 2, .height = 2}); },
     "the GIF background uses colour 9, but its colour table has only 4 entries"},
    {"gif_background_past_table_seen_through_frame",
     [] {
       return Gif(2, 1, kGifTable, 4,
                  {.width = 2, .height = 1, .transparent = 1, .rows = {{0, 1}}});
     },
     "the GIF background uses colour 4, but its colour table has only 4 entries"},
    {"gif_pixel_index_past_table",
     [] {
       return Gif(2, 1, {RGB(1, 1, 1), RGB(2, 2, 2)}, 0,
                  {.width = 2, .height = 1, .rows = {{0, 3}}});
     },
     "the GIF picture uses colour 3, but its colour table has only 2 entries"},
    {"gif_zero_height_frame", [] { return Gif(2, 2, kGifTable, 0, {.width = 2, .height = 0}); },
     "the first GIF frame has no pixels"},
    {"gif_screen_65535_square",
     [] { return Gif(65535, 65535, kGifTable, 0, {.width = 1, .height = 1}); }, kTooLarge65535},
    {"gif_frame_65535_square",
     [] { return WithFrameSize(Gif(2, 2, kGifTable, 0, {.width = 1, .height = 1}), 65535, 65535); },
     kTooLarge65535},
    {"gif_zero_size_screen", [] { return Gif(0, 3, kGifTable, 0, {.width = 1, .height = 1}); },
     "the picture's size 0 x 3 is invalid"},
    {"gif_lzw_code_size_11",
     [] {
       GifFrame frame{.width = 2, .height = 1, .rows = {{0, 1}}};
       return BuildGif({.screenWidth = 2,
                        .screenHeight = 1,
                        .globalTable = kGifTable,
                        .codeSize = 11,
                        .frames = {frame}});
     },
     "the GIF frame has an invalid LZW code size (11; it can be at most 8)"},
    {"gif_no_picture",
     [] { return BuildGif({.screenWidth = 2, .screenHeight = 2, .globalTable = kGifTable}); },
     "the GIF file holds no picture"},
    {"png_bad_crc_ihdr", [] { return PngWithBadCrc("IHDR"); },
     "the PNG data is damaged (IHDR: CRC error)"},
    {"png_bad_crc_idat", [] { return PngWithBadCrc("IDAT"); },
     "the PNG data is damaged (IDAT: CRC error)"},
    {"png_bad_crc_iend", [] { return PngWithBadCrc("IEND"); },
     "the PNG data is damaged (IEND: CRC error)"},
    {"png_text_chunk_past_end", PngWithHugeTextChunk, "the PNG data is truncated"},
    {"png_bad_deflate_data", PngWithBadDeflate, "the PNG data is damaged"},
    {"png_claims_65535_square", [] { return PngClaiming(65535, 65535); }, kTooLarge65535},
    {"png_claims_70000_wide", [] { return PngClaiming(70000, 1); },
     "the picture is too large (70000 x 1 pixels; at most 65535 per side and 268435456 in all can "
     "be shown)"},
    {"jpeg_thousands_of_scans",
     [] { return EncodeJpeg(MakePicture(8, 8), {.components = 3, .scans = 2090}); },
     "the JPEG data has more than 256 scans"},
    {"jpeg_12_bit", [] { return JpegWithPrecision(12); },
     "the JPEG picture has 12-bit samples; only 8-bit JPEG pictures are supported"},
    {"jpeg_9_bit", [] { return JpegWithPrecision(9); },
     "the JPEG data is damaged (Unsupported JPEG data precision 9)"},
    {"jpeg_claims_65535_square", [] { return JpegClaiming(65535, 65535); }, kTooLarge65535},
    {"jpeg_claims_65501_wide", [] { return JpegClaiming(65501, 1); },
     "the picture is too large (65501 x 1 pixels; a JPEG picture can have at most 65500 per "
     "side)"},
    {"jpeg_claims_large_size", [] { return JpegClaiming(16000, 16000); }, "the JPEG data is"},
};

// A damaged ancillary chunk is dropped, as libpng does by default.
TEST(DamagedAncillaryChunkTest, BadTextCrcLeavesThePicture) {
  const Bytes png = PngWithTextFlipped();
  Bytes clean = png;
  RightCrc(clean, FindChunk(clean, "tEXt"));
  TBitmap expected, bmp;
  ASSERT_EQ(DecodeError(clean, expected, "t"), "");
  ASSERT_EQ(DecodeError(png, bmp, "t"), "");
  EXPECT_EQ(BitmapDiff(expected, bmp), "");
}

class MalformedTest : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedTest, RefusedWithTheRightProblem) {
  const MalformedCase& c = GetParam();
  TBitmap bmp;
  const std::string error = DecodeError(c.make(), bmp, "t");
  EXPECT_EQ(error.rfind(std::string("Cannot read picture \"t\": ") + c.problem, 0), 0u) << error;
}

INSTANTIATE_TEST_SUITE_P(Corpus, MalformedTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<MalformedCase>& info) {
                           return std::string(info.param.name);
                         });

// Files that claim the largest picture allowed (768 MB) but hold almost nothing of it: each is
// refused without the picture's memory being touched.
struct HugeClaimCase {
  const char* name;
  std::function<Bytes()> make;
};

Bytes PngClaimingWithCrc(std::uint32_t width, std::uint32_t height) {
  Bytes png = PngClaiming(width, height);
  RightCrc(png, FindChunk(png, "IHDR"));
  return png;
}

// A GIF on a 16384 x 16384 screen whose first frame is cut off inside its pixel data.
Bytes GifCutInFrame(int frameSide) {
  Bytes gif = WithFrameSize(Gif(16384, 16384, kGifTable, 1, {.width = 1, .height = 1}), frameSide,
                            frameSide);
  gif.resize(gif.size() - 3);  // the trailer, the end of the data and its last byte
  return gif;
}

const HugeClaimCase kHugeClaims[] = {
    {"gif_screen_frame_cut_short", [] { return GifCutInFrame(1); }},
    {"gif_screen_and_frame_cut_short", [] { return GifCutInFrame(16384); }},
    {"bmp_rle8_cut_short",
     [] {
       return Rle8(16384, 16384, {2, 1});
     }},
    {"png_idat_cut_short", [] { return PngClaimingWithCrc(16384, 16384); }},
    {"jpeg_scan_cut_short", [] { return JpegClaiming(16000, 16000); }},
};

class HugeClaimTest : public testing::TestWithParam<HugeClaimCase> {};

TEST_P(HugeClaimTest, RefusedWithoutTouchingThePicturesMemory) {
  const Bytes bytes = GetParam().make();
  if (!ResetPeakMemory())
    GTEST_SKIP() << "the peak memory size cannot be reset here";
  const long before = MemoryMb("VmRSS");
  TBitmap bmp;
  const std::string error = DecodeError(bytes, bmp, "t");
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(bmp.Empty());
  // A quarter of the picture's 768 MB: AddressSanitizer's shadow alone takes an eighth of an
  // allocation, touched or not.
  EXPECT_LT(MemoryMb("VmHWM") - before, 192) << error;
}

INSTANTIATE_TEST_SUITE_P(Corpus, HugeClaimTest, testing::ValuesIn(kHugeClaims),
                         [](const testing::TestParamInfo<HugeClaimCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace kelpra::test

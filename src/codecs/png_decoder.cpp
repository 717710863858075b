// PNG through libpng: every colour type and depth to 8-bit BGR; an alpha channel, or a palette's
// partial transparency, is blended over black; a transparent colour (tRNS) is ignored so its
// stored colours show. libpng reports errors through ErrorExit, which longjmps back into
// RunGuarded, the only function that calls setjmp; the steps it runs hold no C++ objects.
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "codecs/picture_decoder.h"
#include "codecs/picture_loader.h"

namespace kelpra {

namespace {

constexpr png_uint_32 kMaxCachedChunks = 128;
constexpr png_alloc_size_t kMaxChunkBytes = 8 << 20;  // text, profiles and other metadata

struct PngSession {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::jmp_buf jump;
  char message[200] = {};
  bool truncated = false;
  std::span<const std::uint8_t> data;
  std::size_t pos = 0;
  TBitmap* out = nullptr;
  std::uint8_t* work = nullptr;  // BGRA rows for alpha pictures, owned by the caller's vector
  bool alpha = false;
  bool interlaced = false;

  PngSession() = default;
  PngSession(const PngSession&) = delete;
  PngSession& operator=(const PngSession&) = delete;
  ~PngSession() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

PngSession& SessionOf(png_structp png) {
  return *static_cast<PngSession*>(png_get_error_ptr(png));
}

[[noreturn]] void ErrorExit(png_structp png, png_const_charp message) {
  PngSession& session = SessionOf(png);
  std::strncpy(session.message, message ? message : "unknown error", sizeof session.message - 1);
  std::longjmp(session.jump, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

void ReadInput(png_structp png, png_bytep buffer, png_size_t count) {
  PngSession& s = SessionOf(png);
  if (s.data.size() - s.pos < count) {
    s.truncated = true;
    png_error(png, "truncated");
  }
  std::memcpy(buffer, s.data.data() + s.pos, count);
  s.pos += count;
}

// A palette whose transparency table holds values other than 0 and 255 has partial
// transparency, as an alpha channel has.
bool PartlyTransparentPalette(const PngSession& s) {
  png_bytep alphas = nullptr;
  int count = 0;
  if (png_get_color_type(s.png, s.info) != PNG_COLOR_TYPE_PALETTE ||
      png_get_tRNS(s.png, s.info, &alphas, &count, nullptr) == 0 || !alphas) {
    return false;
  }
  return std::any_of(alphas, alphas + count, [](png_byte a) { return a != 0 && a != 255; });
}

void ReadInfo(PngSession& s) {
  png_set_user_limits(s.png, kMaxPictureSide, kMaxPictureSide);
  png_set_chunk_cache_max(s.png, kMaxCachedChunks);
  png_set_chunk_malloc_max(s.png, kMaxChunkBytes);
  // A damaged critical chunk damages the picture; a damaged ancillary one is dropped.
  png_set_crc_action(s.png, PNG_CRC_ERROR_QUIT, PNG_CRC_WARN_DISCARD);
  // Every ancillary chunk but tRNS is skipped unread: none changes the picture we show, and
  // libpng would otherwise allocate and clear whatever length a text chunk claims.
  png_set_keep_unknown_chunks(s.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_set_read_fn(s.png, nullptr, ReadInput);
  png_read_info(s.png, s.info);
  const int colorType = png_get_color_type(s.png, s.info);
  png_set_scale_16(s.png);
  if (colorType == PNG_COLOR_TYPE_PALETTE)
    png_set_palette_to_rgb(s.png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_expand_gray_1_2_4_to_8(s.png);
    png_set_gray_to_rgb(s.png);
  }
  s.alpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || PartlyTransparentPalette(s);
  // Expanding a palette also turns its tRNS into alpha: a table of only opaque and clear entries
  // marks transparent colours, dropped again so that the stored colours show.
  if (!s.alpha)
    png_set_strip_alpha(s.png);
  png_set_bgr(s.png);
  s.interlaced = png_get_interlace_type(s.png, s.info) != PNG_INTERLACE_NONE;
  png_set_interlace_handling(s.png);
  png_read_update_info(s.png, s.info);
}

// Blends one BGRA row over black: channel * alpha / 255, rounded to nearest.
void BlendRow(const std::uint8_t* bgra, int width, std::uint8_t* bgr) {
  for (int x = 0; x < width; ++x) {
    const unsigned a = bgra[4 * x + 3];
    for (int c = 0; c < 3; ++c)
      bgr[3 * x + c] = std::uint8_t((bgra[4 * x + c] * a + 127) / 255);
  }
}

void ReadRows(PngSession& s) {
  TBitmap& out = *s.out;
  const int width = out.Width();
  const std::size_t workStride = std::size_t(width) * 4;
  const int passes = png_set_interlace_handling(s.png);
  for (int pass = 0; pass < passes; ++pass) {
    for (int y = 0; y < out.Height(); ++y) {
      std::uint8_t* row = !s.alpha       ? out.ScanLine(y)
                          : s.interlaced ? s.work + std::size_t(y) * workStride
                                         : s.work;
      png_read_row(s.png, row, nullptr);
      if (s.alpha && !s.interlaced)
        BlendRow(row, width, out.ScanLine(y));
    }
  }
  if (s.alpha && s.interlaced) {
    for (int y = 0; y < out.Height(); ++y) {
      BlendRow(s.work + std::size_t(y) * workStride, width, out.ScanLine(y));
    }
  }
  png_read_end(s.png, nullptr);
}

bool RunGuarded(PngSession& s, void (*step)(PngSession&)) {
  if (setjmp(s.jump))
    return false;
  step(s);
  return true;
}

DecodeResult Failure(const PngSession& s) {
  if (s.truncated)
    return DecodeResult::Broken("the PNG data is truncated");
  const std::string message = s.message;
  if (message.find("ut of memory") != std::string::npos ||
      message.find("nsufficient memory") != std::string::npos) {
    throw std::bad_alloc();
  }
  return DecodeResult::Broken("the PNG data is damaged (" + message + ")");
}

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

}  // namespace

bool HasPngSignature(std::span<const std::uint8_t> data) {
  return data.size() >= 8 && png_sig_cmp(data.data(), 0, 8) == 0;
}

// 10 bytes a pixel: 16-bit RGBA, a filter byte a row, and deflate's and the chunks' framing.
std::uint64_t MostPngBytes(std::span<const std::uint8_t> header) {
  if (header.size() < 24 || std::memcmp(header.data() + 12, "IHDR", 4) != 0)
    return 0;
  return MostBytesFor(BigEndian32(header.data() + 16), BigEndian32(header.data() + 20), 10);
}

DecodeResult DecodePng(std::span<const std::uint8_t> data, TBitmap& out) {
  if (!HasPngSignature(data))
    return DecodeResult::NotThisFormat();
  // The size from IHDR, checked before libpng sees it, for a clear message.
  if (data.size() >= 24 && std::memcmp(data.data() + 12, "IHDR", 4) == 0) {
    const std::string problem =
        PictureSizeProblem(BigEndian32(data.data() + 16), BigEndian32(data.data() + 20));
    if (!problem.empty())
      return DecodeResult::Broken(problem);
  }
  PngSession s;
  s.data = data;
  s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s, ErrorExit, IgnoreWarning);
  if (!s.png)
    throw std::bad_alloc();
  s.info = png_create_info_struct(s.png);
  if (!s.info)
    throw std::bad_alloc();
  if (!RunGuarded(s, ReadInfo))
    return Failure(s);
  const png_uint_32 width = png_get_image_width(s.png, s.info);
  const png_uint_32 height = png_get_image_height(s.png, s.info);
  if (const std::string problem = PictureSizeProblem(width, height); !problem.empty()) {
    return DecodeResult::Broken(problem);
  }
  if (png_get_bit_depth(s.png, s.info) != 8 ||
      png_get_channels(s.png, s.info) != (s.alpha ? 4 : 3)) {
    return DecodeResult::Broken("the PNG colour format is not supported");
  }
  TBitmap picture(int(width), int(height), pf24bit);
  std::vector<std::uint8_t> work;
  if (s.alpha) {
    work.resize(std::size_t(width) * 4 * (s.interlaced ? height : 1));
    s.work = work.data();
  }
  s.out = &picture;
  if (!RunGuarded(s, ReadRows))
    return Failure(s);
  out = std::move(picture);
  return DecodeResult::Decoded();
}

}  // namespace kelpra

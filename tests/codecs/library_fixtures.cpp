#include "library_fixtures.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <stdexcept>
#include <string>

#include <jpeglib.h>

namespace kelpra::test {

namespace {

struct JpegJump {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void JpegFail(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegJump*>(info->err)->jump, 1);
}

// Scans for a full successive-approximation progression: DC, then each AC coefficient alone,
// each coefficient through all its bit planes.
std::vector<jpeg_scan_info> ManyScans(int components, int limit) {
  std::vector<jpeg_scan_info> scans;
  constexpr int kTopBit = 10;  // the highest bit position libjpeg allows for 8-bit samples
  auto add = [&](int count, int c, int ss, int se, int ah, int al) {
    jpeg_scan_info scan{};
    scan.comps_in_scan = count;
    for (int i = 0; i < count; ++i)
      scan.component_index[i] = c + i;
    scan.Ss = ss, scan.Se = se, scan.Ah = ah, scan.Al = al;
    scans.push_back(scan);
  };
  add(components, 0, 0, 0, 0, kTopBit);
  for (int al = kTopBit - 1; al >= 0; --al)
    add(components, 0, 0, 0, al + 1, al);
  for (int c = 0; c < components; ++c) {
    for (int k = 1; k < 64; ++k) {
      add(1, c, k, k, 0, kTopBit);
      for (int al = kTopBit - 1; al >= 0; --al)
        add(1, c, k, k, al + 1, al);
    }
  }
  if (int(scans.size()) > limit)
    scans.resize(std::size_t(limit));
  return scans;
}

// Returns false on a libjpeg error; holds no C++ objects across the library calls.
bool Compress(jpeg_compress_struct& info, JpegJump& error, const TBitmap& bmp,
              const JpegLayout& layout, const jpeg_scan_info* scans, int scanCount,
              std::uint8_t* row, unsigned char** buffer, unsigned long* size) {
  if (setjmp(error.jump))
    return false;
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, buffer, size);
  info.image_width = JDIMENSION(bmp.Width());
  info.image_height = JDIMENSION(bmp.Height());
  info.input_components = layout.components;
  info.in_color_space = layout.components == 1   ? JCS_GRAYSCALE
                        : layout.components == 4 ? JCS_CMYK
                                                 : JCS_EXT_BGR;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, layout.quality, TRUE);
  if (layout.components == 4) {
    jpeg_set_colorspace(&info, JCS_CMYK);
    info.write_Adobe_marker = layout.adobe;
  }
  if (scanCount > 0) {
    info.scan_info = scans;
    info.num_scans = scanCount;
  }
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    const std::uint8_t* src = bmp.ScanLine(int(info.next_scanline));
    for (int x = 0; x < bmp.Width(); ++x) {
      if (layout.components == 1) {
        row[x] = src[3 * x];
      } else if (layout.components == 4) {
        for (int c = 0; c < 3; ++c)
          row[4 * x + c] = src[3 * x + c];
        row[4 * x + 3] = layout.k;
      } else {
        for (int c = 0; c < 3; ++c)
          row[3 * x + c] = src[3 * x + c];
      }
    }
    JSAMPROW rows[] = {row};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  return true;
}

struct PngWriteState {
  std::vector<std::uint8_t> bytes;
};

void PngWrite(png_structp png, png_bytep data, png_size_t size) {
  auto* state = static_cast<PngWriteState*>(png_get_io_ptr(png));
  state->bytes.insert(state->bytes.end(), data, data + size);
}

void PngFlush(png_structp) {}

[[noreturn]] void PngFail(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}

std::vector<std::uint8_t> PackedRow(const PngLayout& layout, int y) {
  const int channels = layout.colorType == 0 || layout.colorType == 3 ? 1
                       : layout.colorType == 4                        ? 2
                       : layout.colorType == 2                        ? 3
                                                                      : 4;
  const int bytesPerSample = layout.bitDepth == 16 ? 2 : 1;
  const std::size_t rowSamples = std::size_t(layout.width) * channels;
  const std::uint8_t* src = layout.samples.data() + y * rowSamples * bytesPerSample;
  if (layout.bitDepth >= 8)
    return {src, src + rowSamples * bytesPerSample};
  std::vector<std::uint8_t> row((rowSamples * layout.bitDepth + 7) / 8, 0);
  for (std::size_t i = 0; i < rowSamples; ++i) {
    const std::size_t bit = i * layout.bitDepth;
    row[bit / 8] |= std::uint8_t(src[i] << (8 - layout.bitDepth - bit % 8));
  }
  return row;
}

bool WritePngData(png_structp png, png_infop info, const PngLayout& layout,
                  const std::vector<png_color>& colours,
                  std::vector<std::vector<std::uint8_t>>& rows, std::vector<png_bytep>& pointers,
                  const std::string& text) {
  if (setjmp(png_jmpbuf(png)))
    return false;
  png_set_IHDR(png, info, png_uint_32(layout.width), png_uint_32(layout.height), layout.bitDepth,
               layout.colorType, layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!colours.empty())
    png_set_PLTE(png, info, colours.data(), int(colours.size()));
  png_color_16 trans{};
  if (layout.trnsGrey)
    trans.gray = *layout.trnsGrey;
  if (layout.trnsRgb)
    trans.red = (*layout.trnsRgb)[0], trans.green = (*layout.trnsRgb)[1],
    trans.blue = (*layout.trnsRgb)[2];
  if (!layout.trnsAlpha.empty() || layout.trnsGrey || layout.trnsRgb) {
    png_set_tRNS(png, info, layout.trnsAlpha.empty() ? nullptr : layout.trnsAlpha.data(),
                 int(layout.trnsAlpha.size()), &trans);
  }
  png_text chunk{};
  if (!text.empty()) {
    chunk.compression = PNG_TEXT_COMPRESSION_NONE;
    chunk.key = const_cast<char*>("Comment");
    chunk.text = const_cast<char*>(text.c_str());
    png_set_text(png, info, &chunk, 1);
  }
  for (int y = 0; y < layout.height; ++y)
    rows.push_back(PackedRow(layout, y));
  for (auto& row : rows)
    pointers.push_back(row.data());
  png_set_rows(png, info, pointers.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  return true;
}

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const TBitmap& bmp, const JpegLayout& layout) {
  jpeg_compress_struct info{};
  JpegJump error{};
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = JpegFail;
  const std::vector<jpeg_scan_info> scans =
      layout.scans > 0 ? ManyScans(layout.components, layout.scans) : std::vector<jpeg_scan_info>{};
  std::vector<std::uint8_t> row(std::size_t(bmp.Width()) * 4);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const bool ok = Compress(info, error, bmp, layout, scans.data(), int(scans.size()), row.data(),
                           &buffer, &size);
  jpeg_destroy_compress(&info);
  std::vector<std::uint8_t> bytes(buffer, buffer + (ok ? size : 0));
  std::free(buffer);
  if (!ok)
    throw std::runtime_error("libjpeg could not write the fixture");
  return bytes;
}

std::vector<std::uint8_t> EncodePng(const PngLayout& layout) {
  PngWriteState state;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngFail, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &state, PngWrite, PngFlush);
  std::vector<std::vector<std::uint8_t>> rows;
  std::vector<png_bytep> pointers;
  const std::string text(layout.textBytes, 'k');
  std::vector<png_color> colours;
  for (const TRGBQuad& q : layout.palette)
    colours.push_back({q.rgbRed, q.rgbGreen, q.rgbBlue});
  rows.reserve(std::size_t(layout.height));
  const bool ok = WritePngData(png, info, layout, colours, rows, pointers, text);
  png_destroy_write_struct(&png, &info);
  if (!ok)
    throw std::runtime_error("libpng could not write the fixture");
  return state.bytes;
}

}  // namespace kelpra::test

#include <gif_lib.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

#include "picture_writers/picture_writers.h"

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace kelpra {

namespace {

TBitmap As24Bit(const TBitmap& bmp) {
  TBitmap copy(bmp);
  copy.SetPixelFormat(pf24bit);
  return copy;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

struct JpegErrorJump {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void JpegErrorExit(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegErrorJump*>(info->err)->jump, 1);
}

// Returns false on a libjpeg error; no C++ object with a destructor lives in this frame.
bool CompressJpeg(const TBitmap& bmp, std::FILE* out, int quality) {
  jpeg_compress_struct info{};
  JpegErrorJump error{};
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = JpegErrorExit;
  if (setjmp(error.jump)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, out);
  info.image_width = JDIMENSION(bmp.Width());
  info.image_height = JDIMENSION(bmp.Height());
  info.input_components = 3;
  info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(bmp.ScanLine(int(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

// giflib's output function: the file is the GIF's user data.
int WriteToFile(GifFileType* gif, const GifByteType* bytes, int length) {
  return int(std::fwrite(bytes, 1, std::size_t(length), static_cast<std::FILE*>(gif->UserData)));
}

// A colour table for the picture: its own colours when there are at most 256, else a cube.
std::vector<GifColorType> GifPalette(const TBitmap& bmp, std::vector<std::uint8_t>& indices) {
  std::map<std::uint32_t, std::uint8_t> exact;
  std::vector<GifColorType> colours;
  bool fits = true;
  for (int y = 0; y < bmp.Height() && fits; ++y) {
    const std::uint8_t* row = bmp.ScanLine(y);
    for (int x = 0; x < bmp.Width() && fits; ++x) {
      const std::uint32_t key = RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
      if (exact.count(key))
        continue;
      if (exact.size() == 256) {
        fits = false;
        break;
      }
      exact.emplace(key, std::uint8_t(exact.size()));
      colours.push_back({row[3 * x + 2], row[3 * x + 1], row[3 * x]});
    }
  }
  if (!fits) {
    colours.clear();
    for (int r = 0; r < 6; ++r) {
      for (int g = 0; g < 7; ++g) {
        for (int b = 0; b < 6; ++b) {
          colours.push_back(
              {std::uint8_t(r * 51), std::uint8_t(g * 255 / 6), std::uint8_t(b * 51)});
        }
      }
    }
  }
  indices.clear();
  for (int y = 0; y < bmp.Height(); ++y) {
    const std::uint8_t* row = bmp.ScanLine(y);
    for (int x = 0; x < bmp.Width(); ++x) {
      if (fits) {
        indices.push_back(exact[RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x])]);
      } else {
        const int r = (row[3 * x + 2] + 25) / 51;
        const int g = (row[3 * x + 1] * 6 + 127) / 255;
        const int b = (row[3 * x] + 25) / 51;
        indices.push_back(std::uint8_t((r * 7 + g) * 6 + b));
      }
    }
  }
  while (colours.size() < 2 || (colours.size() & (colours.size() - 1)) != 0) {
    colours.push_back({0, 0, 0});
  }
  return colours;
}

}  // namespace

void WritePng(const TBitmap& source, const std::filesystem::path& file) {
  const TBitmap bmp = As24Bit(source);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(bmp.Width());
  image.height = png_uint_32(bmp.Height());
  image.format = PNG_FORMAT_BGR;
  if (!png_image_write_to_file(&image, file.c_str(), 0, bmp.ScanLine(0), png_int_32(bmp.Stride()),
                               nullptr)) {
    const std::string reason = image.message;
    png_image_free(&image);
    throw std::runtime_error("cannot write PNG " + file.string() + ": " + reason);
  }
}

void WriteJpeg(const TBitmap& source, const std::filesystem::path& file, int quality) {
  const TBitmap bmp = As24Bit(source);
  std::unique_ptr<std::FILE, FileCloser> out(std::fopen(file.c_str(), "wb"));
  if (!out || !CompressJpeg(bmp, out.get(), quality)) {
    throw std::runtime_error("cannot write JPEG " + file.string());
  }
}

void WriteGif(const TBitmap& source, const std::filesystem::path& file) {
  const TBitmap bmp = As24Bit(source);
  std::vector<std::uint8_t> indices;
  std::vector<GifColorType> colours = GifPalette(bmp, indices);
  // Not giflib's EGifOpenFileName: it creates the file readable by its owner alone, where the
  // other writers leave the mode to the umask.
  std::unique_ptr<std::FILE, FileCloser> out(std::fopen(file.c_str(), "wb"));
  int error = 0;
  GifFileType* gif = out ? EGifOpen(out.get(), WriteToFile, &error) : nullptr;
  if (!gif)
    throw std::runtime_error("cannot create GIF " + file.string());
  ColorMapObject* map = GifMakeMapObject(int(colours.size()), colours.data());
  bool ok = map && EGifPutScreenDesc(gif, bmp.Width(), bmp.Height(), 8, 0, map) == GIF_OK &&
            EGifPutImageDesc(gif, 0, 0, bmp.Width(), bmp.Height(), false, nullptr) == GIF_OK;
  for (int y = 0; ok && y < bmp.Height(); ++y) {
    ok = EGifPutLine(gif, indices.data() + std::size_t(y) * bmp.Width(), bmp.Width()) == GIF_OK;
  }
  GifFreeMapObject(map);
  if (EGifCloseFile(gif, &error) != GIF_OK)
    ok = false;
  if (std::fclose(out.release()) != 0)
    ok = false;
  if (!ok)
    throw std::runtime_error("cannot write GIF " + file.string());
}

}  // namespace kelpra

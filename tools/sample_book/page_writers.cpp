#include "page_writers.h"

#include <gif_lib.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace kelpra::sample {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenForWriting(const std::filesystem::path& file) {
  File out(std::fopen(file.c_str(), "wb"));
  if (!out)
    throw std::runtime_error("cannot create " + file.string());
  return out;
}

void Close(File out, const std::filesystem::path& file) {
  if (std::fclose(out.release()) != 0)
    throw std::runtime_error("cannot write " + file.string());
}

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void JpegErrorExit(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

// No object with a destructor lives in a frame that longjmp leaves.
bool CompressJpeg(const TBitmap& bmp, std::FILE* out) {
  jpeg_compress_struct info{};
  JpegError error{};
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
  jpeg_set_quality(&info, 90, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(bmp.ScanLine(int(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

bool CompressPng(const TBitmap& bmp, std::FILE* out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, out);
  png_set_IHDR(png, info, png_uint_32(bmp.Width()), png_uint_32(bmp.Height()), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_bgr(png);
  for (int y = 0; y < bmp.Height(); ++y)
    png_write_row(png, bmp.ScanLine(y));
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

int WriteToFile(GifFileType* gif, const GifByteType* bytes, int count) {
  return int(std::fwrite(bytes, 1, std::size_t(count), static_cast<std::FILE*>(gif->UserData)));
}

}  // namespace

void WriteJpeg(const TBitmap& bmp, const std::filesystem::path& file) {
  File out = OpenForWriting(file);
  if (!CompressJpeg(bmp, out.get()))
    throw std::runtime_error("cannot encode " + file.string());
  Close(std::move(out), file);
}

void WritePng(const TBitmap& bmp, const std::filesystem::path& file) {
  File out = OpenForWriting(file);
  if (!CompressPng(bmp, out.get()))
    throw std::runtime_error("cannot encode " + file.string());
  Close(std::move(out), file);
}

void WriteGif(const TBitmap& bmp, const std::filesystem::path& file) {
  std::map<TColor, GifByteType> table;
  std::vector<GifColorType> colors;
  std::vector<GifByteType> indices;
  indices.reserve(std::size_t(bmp.Width()) * bmp.Height());
  for (int y = 0; y < bmp.Height(); ++y) {
    const std::uint8_t* row = bmp.ScanLine(y);
    for (int x = 0; x < bmp.Width(); ++x) {
      const std::uint8_t* p = row + 3 * x;
      const auto [at, added] = table.try_emplace(RGB(p[2], p[1], p[0]), GifByteType(colors.size()));
      if (added) {
        if (colors.size() == 256)
          throw std::runtime_error("too many colours for " + file.string());
        colors.push_back({p[2], p[1], p[0]});
      }
      indices.push_back(at->second);
    }
  }
  colors.resize(256, GifColorType{0, 0, 0});
  // Through our own FILE, so the file gets the usual permissions.
  File out = OpenForWriting(file);
  int error = 0;
  GifFileType* gif = EGifOpen(out.get(), WriteToFile, &error);
  if (!gif)
    throw std::runtime_error("cannot create " + file.string());
  ColorMapObject* map = GifMakeMapObject(256, colors.data());
  bool written = map && EGifPutScreenDesc(gif, bmp.Width(), bmp.Height(), 8, 0, map) == GIF_OK &&
                 EGifPutImageDesc(gif, 0, 0, bmp.Width(), bmp.Height(), false, nullptr) == GIF_OK;
  for (int y = 0; written && y < bmp.Height(); ++y) {
    written =
        EGifPutLine(gif, indices.data() + std::size_t(y) * bmp.Width(), bmp.Width()) == GIF_OK;
  }
  GifFreeMapObject(map);
  if (EGifCloseFile(gif, &error) != GIF_OK)
    written = false;
  if (!written)
    throw std::runtime_error("cannot write " + file.string());
  Close(std::move(out), file);
}

}  // namespace kelpra::sample

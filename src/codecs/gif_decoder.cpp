// GIF through giflib, read record by record up to the first image only: that frame drawn on the
// logical screen, clipped to it, over the background colour. A missing colour table and colour
// indices past the table (the background's where it shows) are errors, not guesses.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "codecs/picture_decoder.h"

namespace kelpra {

namespace {

struct MemoryInput {
  std::span<const std::uint8_t> data;
  std::size_t pos = 0;
  bool cutShort = false;  // a read found the data ending before what it asked for
};

int ReadInput(GifFileType* gif, GifByteType* buffer, int count) {
  auto* input = static_cast<MemoryInput*>(gif->UserData);
  const std::size_t n = std::min(std::size_t(std::max(count, 0)), input->data.size() - input->pos);
  std::memcpy(buffer, input->data.data() + input->pos, n);
  input->pos += n;
  if (n < std::size_t(std::max(count, 0)))
    input->cutShort = true;
  return int(n);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int ignored;
    DGifCloseFile(gif, &ignored);
  }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

DecodeResult LibraryError(int code) {
  if (code == D_GIF_ERR_NOT_ENOUGH_MEM)
    throw std::bad_alloc();
  // giflib leaves the code at 0 when the one byte it needs after an image descriptor is missing.
  if (code == D_GIF_ERR_READ_FAILED || code == D_GIF_SUCCEEDED) {
    return DecodeResult::Broken("the GIF data is truncated");
  }
  const char* text = GifErrorString(code);
  return DecodeResult::Broken(std::string("the GIF data is damaged (") +
                              (text ? text : "unknown error") + ")");
}

std::string IndexProblem(const char* user, int index, int count) {
  return std::string("the GIF ") + user + " uses colour " + std::to_string(index) +
         ", but its colour table has only " + std::to_string(count) + " entries";
}

void PutColour(std::uint8_t* pixel, const GifColorType& colour) {
  pixel[0] = colour.Blue;
  pixel[1] = colour.Green;
  pixel[2] = colour.Red;
}

// The file row that each stored row of an interlaced frame belongs to.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  rows.reserve(std::size_t(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y)
      rows.push_back(y);
    return rows;
  }
  constexpr int kStart[] = {0, 4, 2, 1};
  constexpr int kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = kStart[pass]; y < height; y += kStep[pass])
      rows.push_back(y);
  }
  return rows;
}

// The first frame's colour table and its colour indices where it lies on the logical screen. The
// index storage is left uninitialised so that only rows the file really holds take memory.
struct VisibleFrame {
  const ColorMapObject* map = nullptr;
  TRect area;
  std::unique_ptr<GifPixelType[]> indices;
  bool transparentPixels = false;  // any of them shows the background
  GifPixelType* Row(int y) const {
    return indices.get() + std::size_t(y - area.Top) * std::size_t(area.Width());
  }
};

// giflib reads the LZW code size last of a frame's header and reports one past 8 as a failed
// read: when nothing was cut short, the byte it has just read is that code size.
DecodeResult FrameHeaderError(const GifFileType* gif) {
  const auto* input = static_cast<const MemoryInput*>(gif->UserData);
  if (gif->Error == D_GIF_ERR_READ_FAILED && !input->cutShort && input->pos > 0) {
    return DecodeResult::Broken("the GIF frame has an invalid LZW code size (" +
                                std::to_string(input->data[input->pos - 1]) +
                                "; it can be at most 8)");
  }
  return LibraryError(gif->Error);
}

DecodeResult ReadFirstFrame(GifFileType* gif, int transparent, VisibleFrame& visible) {
  if (DGifGetImageDesc(gif) == GIF_ERROR)
    return FrameHeaderError(gif);
  const GifImageDesc& frame = gif->Image;
  const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
  if (!map || map->ColorCount <= 0)
    return DecodeResult::Broken("the GIF picture has no colour table");
  if (frame.Width <= 0 || frame.Height <= 0) {
    return DecodeResult::Broken("the first GIF frame has no pixels");
  }
  if (const std::string problem = PictureSizeProblem(frame.Width, frame.Height); !problem.empty()) {
    return DecodeResult::Broken(problem);
  }
  const TRect area{std::max(frame.Left, 0), std::max(frame.Top, 0),
                   std::max(std::min(frame.Left + frame.Width, gif->SWidth), frame.Left),
                   std::max(std::min(frame.Top + frame.Height, gif->SHeight), frame.Top)};
  visible.map = map;
  visible.area = area;
  visible.indices.reset(new GifPixelType[std::size_t(area.Width()) * std::size_t(area.Height())]);
  std::vector<GifPixelType> line(std::size_t(frame.Width));
  for (const int row : RowOrder(frame.Height, frame.Interlace)) {
    const int y = frame.Top + row;
    // Rows below the screen are never shown; a plain frame can stop reading there.
    if (!frame.Interlace && y >= area.Bottom)
      break;
    if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR)
      return LibraryError(gif->Error);
    if (y >= area.Bottom)
      continue;
    GifPixelType* dst = visible.Row(y);
    for (int x = area.Left; x < area.Right; ++x) {
      const int index = line[std::size_t(x - frame.Left)];
      if (index == transparent)
        visible.transparentPixels = true;
      else if (index >= map->ColorCount)
        return DecodeResult::Broken(IndexProblem("picture", index, map->ColorCount));
      dst[x - area.Left] = GifPixelType(index);
    }
  }
  return DecodeResult::Decoded();
}

// Where the frame leaves the screen uncovered or is transparent, the background shows.
bool BackgroundShows(const GifFileType* gif, const VisibleFrame& visible) {
  const TRect& area = visible.area;
  return visible.transparentPixels || area.Left > 0 || area.Top > 0 || area.Right < gif->SWidth ||
         area.Bottom < gif->SHeight;
}

// The logical screen in its background colour with the frame drawn on it. A background past the
// colour table is an error only where it shows.
DecodeResult ComposeScreen(const GifFileType* gif, int transparent, const VisibleFrame& visible,
                           TBitmap& out) {
  const ColorMapObject* global = gif->SColorMap;
  const bool background = global && BackgroundShows(gif, visible);
  if (background && gif->SBackGroundColor >= global->ColorCount) {
    return DecodeResult::Broken(
        IndexProblem("background", gif->SBackGroundColor, global->ColorCount));
  }
  TBitmap screen(gif->SWidth, gif->SHeight, pf24bit);
  if (background) {
    const GifColorType& colour = global->Colors[gif->SBackGroundColor];
    screen.BrushColor = RGB(colour.Red, colour.Green, colour.Blue);
    screen.FillRect({0, 0, screen.Width(), screen.Height()});
  }
  const TRect& area = visible.area;
  for (int y = area.Top; y < area.Bottom; ++y) {
    const GifPixelType* row = visible.Row(y);
    std::uint8_t* dst = screen.ScanLine(y) + 3 * std::size_t(area.Left);
    for (int x = 0; x < area.Width(); ++x, dst += 3) {
      if (row[x] != transparent)
        PutColour(dst, visible.map->Colors[row[x]]);
    }
  }
  out = std::move(screen);
  return DecodeResult::Decoded();
}

DecodeResult ReadGif(GifFileType* gif, TBitmap& out) {
  if (const std::string problem = PictureSizeProblem(gif->SWidth, gif->SHeight); !problem.empty()) {
    return DecodeResult::Broken(problem);
  }
  int transparent = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR)
      return LibraryError(gif->Error);
    if (type == IMAGE_DESC_RECORD_TYPE) {
      // The screen is made only once the frame has been read whole: a damaged file claiming a
      // huge screen is refused without filling it.
      VisibleFrame visible;
      const DecodeResult result = ReadFirstFrame(gif, transparent, visible);
      if (result.status != DecodeResult::Status::kDecoded)
        return result;
      return ComposeScreen(gif, transparent, visible, out);
    }
    if (type != EXTENSION_RECORD_TYPE)
      return DecodeResult::Broken("the GIF file holds no picture");
    int code;
    GifByteType* block;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
      return LibraryError(gif->Error);
    GraphicsControlBlock control;
    if (code == GRAPHICS_EXT_FUNC_CODE && block &&
        DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
      transparent = control.TransparentColor;
    }
    while (block) {
      if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
        return LibraryError(gif->Error);
    }
  }
}

}  // namespace

bool HasGifSignature(std::span<const std::uint8_t> data) {
  return data.size() >= 6 && std::memcmp(data.data(), "GIF8", 4) == 0 && data[5] == 'a' &&
         (data[4] == '7' || data[4] == '9');
}

// The first frame may be larger than the screen and come after metadata of any length: the
// largest frame allowed, at 4 bytes a pixel (a 12-bit code and a clear code for each).
std::uint64_t MostGifBytes(std::span<const std::uint8_t>) {
  return MostBytesForAnySize(4);
}

DecodeResult DecodeGif(std::span<const std::uint8_t> data, TBitmap& out) {
  if (!HasGifSignature(data))
    return DecodeResult::NotThisFormat();
  MemoryInput input{data};
  int error = 0;
  GifHandle gif(DGifOpen(&input, ReadInput, &error));
  if (!gif) {
    // giflib reports any failure to read the screen descriptor and its colour table as "no
    // screen descriptor": when they are all there, only memory can have run out.
    if (error != D_GIF_ERR_NO_SCRN_DSCR)
      return LibraryError(error);
    const std::size_t tableBytes =
        data.size() > 10 && (data[10] & 0x80) ? std::size_t(3) << ((data[10] & 7) + 1) : 0;
    if (data.size() < 13 + tableBytes)
      return DecodeResult::Broken("the GIF data is truncated");
    throw std::bad_alloc();
  }
  return ReadGif(gif.get(), out);
}

}  // namespace kelpra

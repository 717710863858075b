#include "render_args.h"

#include <charconv>
#include <string>

#include "codecs/picture_loader.h"

namespace kelpra::render {

namespace {

template <typename T>
bool ParseWhole(std::string_view text, T& value, int base) {
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, value, base);
  return !text.empty() && error == std::errc() && ptr == end;
}

}  // namespace

std::string_view Arguments::Take(std::string_view what) {
  if (Done())
    throw BadInput("missing " + std::string(what));
  return args_[next_++];
}

int Arguments::TakeInt(std::string_view what, int min, int max) {
  return ParseInt(Take(what), what, min, max);
}

void Arguments::ExpectEnd() const {
  if (!Done())
    throw BadInput("unexpected argument \"" + std::string(args_[next_]) + "\"");
}

int ParseInt(std::string_view text, std::string_view what, int min, int max) {
  int value = 0;
  if (!ParseWhole(text, value, 10) || value < min || value > max) {
    throw BadInput(std::string(what) + " must be a whole number from " + std::to_string(min) +
                   " to " + std::to_string(max) + ", not \"" + std::string(text) + "\"");
  }
  return value;
}

std::uint32_t ParseColor(std::string_view text) {
  std::uint32_t value = 0;
  if (!(text.starts_with("0x") || text.starts_with("0X")) ||
      !ParseWhole(text.substr(2), value, 16)) {
    throw BadInput("COLOR must be hexadecimal like 0xBBGGRR, not \"" + std::string(text) + "\"");
  }
  return value;
}

void ParseSize(std::string_view text, int& width, int& height) {
  const std::size_t x = text.find('x');
  if (x == std::string_view::npos) {
    throw BadInput("--size must be WIDTHxHEIGHT, not \"" + std::string(text) + "\"");
  }
  width = ParseInt(text.substr(0, x), "the width of --size", 1, kMaxPictureSide);
  height = ParseInt(text.substr(x + 1), "the height of --size", 1, kMaxPictureSide);
  if (std::int64_t(width) * height > kMaxPicturePixels) {
    throw BadInput("--size is larger than the largest picture Kelpra makes");
  }
}

std::string_view Usage() {
  return R"(usage:
  kelpra-render op IN OUT OPERATION [ARGS]
      Loads IN as the viewer does, applies one operation and writes OUT as BMP.
      OPERATION: rotate90 cw|ccw, rotate180, gray, brightness N, contrast N, sharpen N,
                 soften N, blur ZONE, resize W H FILTER (Nearest .. Lagrange),
                 sidebyside RIGHT COLOR SPLIT (COLOR as 0xBBGGRR)
  kelpra-render page --size WxH [--index N] [--half 1|2] [--single] [--swap]
                     [--landscape-half] [--no-stretch] [--no-splitter] [--subdirectories]
                     [--direction UP|LEFT|RIGHT|DOWN] [--contrast N] [--brightness N]
                     [--sharpness N] [--mono] [--filter NAME] FILE_OR_FOLDER OUT
      Renders what the viewer shows in a client area of that size, writes the picture
      as BMP and prints the window caption. A FILE is made the current page; a FOLDER is
      listed with its subfolders, its first page current.
exit status: 0 done, 1 failed, 2 bad arguments or unreadable file, 3 refused by the library
)";
}

}  // namespace kelpra::render

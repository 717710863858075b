#include "render_op.h"

#include <climits>
#include <filesystem>
#include <functional>
#include <string>

#include "codecs/bmp_writer.h"
#include "codecs/picture_loader.h"
#include "imaging/filters.h"
#include "imaging/geometry.h"
#include "imaging/resample.h"
#include "imaging/tone.h"

namespace kelpra::render {

namespace {

TBitmap LoadPicture(std::string_view fileName) {
  TBitmap bmp;
  LoadFile(std::filesystem::path(fileName), bmp);
  bmp.SetPixelFormat(pf24bit);
  return bmp;
}

// Reads the operation's own arguments and returns the call that does the work.
std::function<bool(TBitmap&)> ReadOperation(std::string_view name, Arguments& args) {
  if (name == "rotate90") {
    const std::string_view turn = args.Take("cw or ccw");
    if (turn != "cw" && turn != "ccw") {
      throw BadInput("rotate90 takes cw or ccw, not \"" + std::string(turn) + "\"");
    }
    const bool plus = turn == "cw";
    return [plus](TBitmap& bmp) { return Rotate90(bmp, plus); };
  }
  if (name == "rotate180")
    return [](TBitmap& bmp) { return Rotate180(bmp); };
  if (name == "gray")
    return [](TBitmap& bmp) { return GrayScale(bmp); };
  // The library decides which values it accepts; any int reaches it.
  using IntOperation = bool (*)(TBitmap&, int);
  const struct {
    std::string_view name;
    IntOperation operation;
  } withNumber[] = {{"brightness", Brightness},
                    {"contrast", Contrast},
                    {"sharpen", Sharpen},
                    {"soften", Soften},
                    {"blur", GaussianBlur}};
  for (const auto& candidate : withNumber) {
    if (name != candidate.name)
      continue;
    const int value = args.TakeInt(name == "blur" ? "ZONE" : "N", INT_MIN, INT_MAX);
    return [operation = candidate.operation, value](TBitmap& bmp) { return operation(bmp, value); };
  }
  if (name == "resize") {
    const int width = args.TakeInt("W", INT_MIN, INT_MAX);
    const int height = args.TakeInt("H", INT_MIN, INT_MAX);
    const std::string_view filter = args.Take("FILTER");
    const auto mode = ResizeModeFromName(filter);
    if (!mode)
      throw BadInput("unknown FILTER \"" + std::string(filter) + "\"");
    return [=](TBitmap& bmp) { return BmpResize(bmp, width, height, *mode); };
  }
  if (name == "sidebyside") {
    const TBitmap right = LoadPicture(args.Take("RIGHT"));
    const TColor color = ParseColor(args.Take("COLOR"));
    const int split = args.TakeInt("SPLIT", INT_MIN, INT_MAX);
    return [right, color, split](TBitmap& bmp) { return SideBySide(bmp, right, color, split); };
  }
  throw BadInput("unknown OPERATION \"" + std::string(name) + "\"");
}

}  // namespace

void RunOperation(Arguments& args) {
  const std::string_view in = args.Take("IN");
  const std::filesystem::path out(args.Take("OUT"));
  const std::string_view name = args.Take("OPERATION");
  const auto operation = ReadOperation(name, args);
  args.ExpectEnd();
  TBitmap bmp = LoadPicture(in);
  if (!operation(bmp)) {
    throw Refused(std::string(name) + " refused this picture or its arguments; " + out.string() +
                  " was not written");
  }
  SaveBmp(bmp, out);
}

}  // namespace kelpra::render

#include "render_page.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "codecs/bmp_writer.h"
#include "core/file_search.h"
#include "core/page_composer.h"
#include "core/path_list.h"

namespace kelpra::render {

namespace {

struct PageOptions {
  PageRequest request;
  std::optional<int> index;
  bool subdirectories = false;
  QString source;
  std::string out;
};

QString ReadDirection(std::string_view text) {
  for (const char* direction : {"UP", "LEFT", "RIGHT", "DOWN"}) {
    if (text == direction)
      return QString::fromLatin1(direction);
  }
  throw BadInput("--direction takes UP, LEFT, RIGHT or DOWN, not \"" + std::string(text) + "\"");
}

// One option and its value, if it takes one; false when arg is not an option of ours.
bool ReadOption(std::string_view arg, Arguments& args, PageOptions& page) {
  PageRequest& request = page.request;
  DisplayOptions& options = request.options;
  EffectSettings& effects = request.effects;
  const struct {
    std::string_view name;
    bool* flag;
    bool value;
  } flags[] = {
      {"--single", &options.singlePicture, true},         {"--swap", &options.swapLR, true},
      {"--landscape-half", &options.landscapeHalf, true}, {"--no-stretch", &options.stretch, false},
      {"--no-splitter", &options.splitter, false},        {"--mono", &effects.monochrome, true},
      {"--subdirectories", &page.subdirectories, true}};
  for (const auto& flag : flags) {
    if (arg != flag.name)
      continue;
    *flag.flag = flag.value;
    return true;
  }
  // The ranges of the effects dialog's controls.
  const struct {
    std::string_view name;
    int* value;
    int min;
    int max;
  } numbers[] = {{"--contrast", &effects.contrast, -100, 100},
                 {"--brightness", &effects.brightness, -100, 100},
                 {"--sharpness", &effects.sharpness, -30, 70},
                 {"--half", &request.half, 1, 2}};
  for (const auto& number : numbers) {
    if (arg != number.name)
      continue;
    *number.value = args.TakeInt(arg, number.min, number.max);
    return true;
  }
  if (arg == "--size") {
    ParseSize(args.Take("the value of --size"), request.clientWidth, request.clientHeight);
  } else if (arg == "--index") {
    page.index = args.TakeInt(arg, 0, INT_MAX);
  } else if (arg == "--direction") {
    effects.direction = ReadDirection(args.Take("the value of --direction"));
  } else if (arg == "--filter") {
    effects.resizeFilter = QString::fromUtf8(args.Take("the value of --filter"));
  } else {
    return false;
  }
  return true;
}

PageOptions ReadPageOptions(Arguments& args) {
  PageOptions page;
  std::optional<std::string_view> source;
  std::optional<std::string_view> out;
  while (!args.Done()) {
    const std::string_view arg = args.Take("an argument");
    if (ReadOption(arg, args, page))
      continue;
    if (arg.starts_with("--"))
      throw BadInput("unknown option \"" + std::string(arg) + "\"");
    if (!source) {
      source = arg;
    } else if (!out) {
      out = arg;
    } else {
      throw BadInput("unexpected argument \"" + std::string(arg) + "\"");
    }
  }
  if (page.request.clientWidth == 0)
    throw BadInput("missing --size WxH");
  if (!out)
    throw BadInput(source ? "missing OUT" : "missing FILE_OR_FOLDER and OUT");
  page.source = FileNameFromBytes(*source);
  page.out = std::string(*out);
  return page;
}

// The folder as the folder command lists it (with every subfolder), a file as the open
// command does. Returns the current page.
int ListPages(const PageOptions& page, PathList& files) {
  std::error_code error;
  if (std::filesystem::is_directory(NativePath(page.source), error)) {
    QString folder = page.source;
    if (!folder.endsWith(u'/'))
      folder += u'/';
    return SearchFiles(folder + u'*', files, true);
  }
  return SearchFiles(page.source, files, page.subdirectories);
}

}  // namespace

void RunPage(Arguments& args) {
  PageOptions page = ReadPageOptions(args);
  PathList files;
  int ndxR = ListPages(page, files);
  if (files.Empty()) {
    throw FileListError("No picture files to show for \"" + page.source.toStdString() + "\".");
  }
  if (page.index) {
    ndxR = ParseInt(std::to_string(*page.index), "--index", 0, files.Count() - 1);
  }
  page.request.files = &files;
  page.request.ndxR = ndxR;
  PageResult result;
  ComposePage(page.request, result);
  SaveBmp(result.picture, page.out);
  std::printf("%s\n", result.caption.toUtf8().constData());
}

}  // namespace kelpra::render

// kelpra-make-sample-book OUT_DIR: a dozen numbered pages in the four formats the viewer reads,
// portrait pages and two landscape scans, so a person can try spreads, halves and turning.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "codecs/bmp_writer.h"
#include "picture_writers/picture_writers.h"
#include "sample_book/page_art.h"

namespace {

using namespace kelpra;

constexpr int kPageWidth = 600;
constexpr int kPageHeight = 848;

struct Page {
  const char* name;
  bool scan;
};

// page01 must stay a JPEG: scripts/run.sh opens it.
constexpr Page kPages[] = {
    {"page01.jpg", false}, {"page02.png", false}, {"page03.gif", false}, {"page04.bmp", false},
    {"page05.jpg", true},  {"page06.jpg", false}, {"page07.png", false}, {"page08.jpg", false},
    {"page09.gif", false}, {"page10.png", true},  {"page11.bmp", false}, {"page12.jpg", false},
};

void WritePage(const TBitmap& bmp, const std::filesystem::path& file) {
  const std::string extension = file.extension().string();
  if (extension == ".jpg") {
    WriteJpeg(bmp, file);
  } else if (extension == ".png") {
    WritePng(bmp, file);
  } else if (extension == ".gif") {
    WriteGif(bmp, file);
  } else {
    SaveBmp(bmp, file);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kelpra-make-sample-book OUT_DIR\n");
    return 2;
  }
  try {
    const std::filesystem::path folder(argv[1]);
    std::filesystem::create_directories(folder);
    unsigned number = 0;
    for (const Page& page : kPages) {
      ++number;
      char label[8];
      std::snprintf(label, sizeof label, "%02u", number);
      const TBitmap bmp = page.scan ? sample::DrawScan(2 * kPageWidth, kPageHeight, label, number)
                                    : sample::DrawPage(kPageWidth, kPageHeight, label, number);
      WritePage(bmp, folder / page.name);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "kelpra-make-sample-book: %s\n", error.what());
    return 1;
  }
  return 0;
}

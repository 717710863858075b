#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>

#include "bmp_bytes.h"
#include "codec_test_util.h"
#include "codecs/bmp_writer.h"
#include "gif_bytes.h"
#include "support/child_process.h"
#include "support/test_pictures.h"

namespace kelpra::test {
namespace {

std::string LoadError(const std::filesystem::path& file) {
  try {
    TBitmap bmp;
    LoadFile(file, bmp);
    return {};
  } catch (const PictureError& error) {
    return error.what();
  }
}

// Contents decide, not the extension: every format under every other format's name.
class TrialOrderTest : public testing::TestWithParam<std::tuple<const char*, const char*>> {};

TEST_P(TrialOrderTest, LoadsWhateverTheName) {
  const auto [format, name] = GetParam();
  TempDir dir;
  const TBitmap picture = MakeUniform(6, 4, RGB(30, 160, 90));
  WritePicture(picture, dir / (std::string("p.") + format));
  std::filesystem::rename(dir / (std::string("p.") + format), dir / name);
  TBitmap bmp(1, 1, pf8bit);
  LoadFile(dir / name, bmp);
  EXPECT_EQ(bmp.PixelFormat(), pf24bit);
  EXPECT_LE(MaxChannelDifference(picture, bmp), 3);
}

INSTANTIATE_TEST_SUITE_P(Names, TrialOrderTest,
                         testing::Values(std::tuple("jpg", "x.png"), std::tuple("jpg", "x.bmp"),
                                         std::tuple("jpg", "x.gif"), std::tuple("png", "x.jpg"),
                                         std::tuple("gif", "x.bmp"), std::tuple("bmp", "x.jpeg"),
                                         std::tuple("png", "no_extension")));

TEST(LoadFileTest, IsLandscapeOnlyWhenWiderThanTall) {
  TempDir dir;
  struct Case {
    int width, height;
    bool landscape;
  };
  for (const Case& c : {Case{5, 3, true}, Case{3, 3, false}, Case{3, 5, false}, Case{2, 1, true}}) {
    WritePng(MakePicture(c.width, c.height), dir / "p.png");
    EXPECT_EQ(IsLandscape(dir / "p.png"), c.landscape) << c.width << " x " << c.height;
  }
}

TEST(LoadFileTest, EightBitBmpComesOutTwentyFourBit) {
  TempDir dir;
  TBitmap indexed(3, 2, pf8bit);
  indexed.Palette()[1] = {10, 20, 30};
  indexed.ScanLine(1)[2] = 1;
  SaveBmp(indexed, dir / "p.bmp");
  TBitmap bmp;
  LoadFile(dir / "p.bmp", bmp);
  TBitmap expected(indexed);
  expected.SetPixelFormat(pf24bit);
  EXPECT_EQ(BitmapDiff(expected, bmp), "");
}

TEST(LoadFileTest, FilesThatCannotBeOpenedSayWhy) {
  TempDir dir;
  EXPECT_EQ(LoadError(dir / "missing.jpg"),
            "Cannot open picture \"missing.jpg\": No such file or directory");
  std::filesystem::create_directory(dir / "folder.jpg");
  EXPECT_EQ(LoadError(dir / "folder.jpg"), "Cannot open picture \"folder.jpg\": it is a folder");
  EXPECT_EQ(LoadError("/dev/null"), "Cannot open picture \"null\": it is not a file");
  if (geteuid() != 0) {  // root reads everything
    WritePng(MakePicture(2, 2), dir / "locked.png");
    std::filesystem::permissions(dir / "locked.png", std::filesystem::perms::none);
    EXPECT_EQ(LoadError(dir / "locked.png"),
              "Cannot open picture \"locked.png\": Permission denied");
  }
}

TEST(LoadFileTest, EmptyAndForeignFilesNameTheFile) {
  TempDir dir;
  WriteBytes({}, dir / "empty.jpg");
  EXPECT_EQ(LoadError(dir / "empty.jpg"), "Cannot read picture \"empty.jpg\": the file is empty");
  const std::string text = "just some text, not a picture\n";
  WriteBytes({text.begin(), text.end()}, dir / "notes.jpg");
  EXPECT_EQ(LoadError(dir / "notes.jpg"),
            "Cannot read picture \"notes.jpg\": it is not a BMP, JPEG, GIF or PNG picture");
}

// The address space limited to a little more than the program has, in a child: the 805 MB screen
// of a large GIF cannot be had.
TEST(LoadFileTest, RunningOutOfMemoryNamesTheFile) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer aborts where the allocation fails";
#else
  TempDir dir;
  GifFrame frame{.width = 1, .height = 1, .rows = {{0}}};
  WriteBytes(BuildGif({.screenWidth = 16384,
                       .screenHeight = 16384,
                       .globalTable = {RGB(1, 2, 3), RGB(4, 5, 6)},
                       .frames = {frame}}),
             dir / "large screen.gif");
  EXPECT_EQ(RunInChild([&]() -> std::string {
              std::ifstream statm("/proc/self/statm");
              long pages = 0;
              statm >> pages;
              const rlim_t limit =
                  rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(128) << 20);
              const rlimit addressSpace{limit, limit};
              if (setrlimit(RLIMIT_AS, &addressSpace) != 0)
                return "setrlimit failed";
              const std::string error = LoadError(dir / "large screen.gif");
              const std::string expected =
                  "Cannot read picture \"large screen.gif\": there is not enough memory to load it";
              return error == expected ? "" : "the message was: " + error;
            }),
            "");
#endif
}

// Past the header that is read first, every format's file is read whole: a cut file would be
// refused as truncated.
TEST(LoadFileTest, PicturesLargerThanTheHeaderLoadWhole) {
  TempDir dir;
  const TBitmap picture = MakePicture(640, 480, 3);
  for (const char* name : {"p.bmp", "p.jpg", "p.gif", "p.png"}) {
    WritePicture(picture, dir / name);
    ASSERT_GT(std::filesystem::file_size(dir / name), 64u << 10) << name;
    EXPECT_EQ(LoadError(dir / name), "") << name;
  }
  TBitmap bmp;
  LoadFile(dir / "p.png", bmp);
  EXPECT_EQ(BitmapDiff(picture, bmp), "");
}

// The peak memory that loading the file costs, in MB; -1 where it cannot be measured.
long PeakMemoryOfLoading(const std::filesystem::path& file, std::string& error) {
  if (!ResetPeakMemory())
    return -1;
  const long before = MemoryMb("VmRSS");
  error = LoadError(file);
  return MemoryMb("VmHWM") - before;
}

constexpr std::uintmax_t kThreeGigabytes = std::uintmax_t(3) << 30;

// Three gigabytes of zeros, or a header claiming a picture past the limit and zeros after it:
// each is refused after its header.
TEST(LoadFileTest, HugeFilesAreRefusedAfterTheirHeader) {
  TempDir dir;
  struct Case {
    const char* name;
    std::vector<std::uint8_t> header;
    const char* problem;
  };
  const Case cases[] = {
      {"zeros.jpg", {}, "it is not a BMP, JPEG, GIF or PNG picture"},
      {"huge.bmp", BuildBmp({.width = 65535, .height = 65535, .pixels = {0, 0, 0, 0}}),
       "the picture is too large (65535 x 65535 pixels; at most 65535 per side and 268435456 in "
       "all can be shown)"},
  };
  for (const Case& c : cases) {
    WriteBytes(c.header, dir / c.name);
    std::filesystem::resize_file(dir / c.name, kThreeGigabytes);  // sparse: no disk used
    std::string error;
    const long peak = PeakMemoryOfLoading(dir / c.name, error);
    EXPECT_EQ(error, std::string("Cannot read picture \"") + c.name + "\": " + c.problem);
    if (peak >= 0) {
      EXPECT_LT(peak, 8) << c.name;
    }
  }
}

// A small picture with gigabytes after it: only as much is read as a picture of its declared size
// can need, and the picture shows.
TEST(LoadFileTest, DataPastWhatThePictureCanNeedIsNotRead) {
  TempDir dir;
  const TBitmap picture = MakePicture(5, 3);
  for (const char* name : {"p.bmp", "p.png"}) {
    WritePicture(picture, dir / name);
    std::filesystem::resize_file(dir / name, kThreeGigabytes);
    std::string error;
    const long peak = PeakMemoryOfLoading(dir / name, error);
    EXPECT_EQ(error, "") << name;
    if (peak >= 0) {
      EXPECT_LT(peak, 64) << name;
    }
    TBitmap bmp;
    LoadFile(dir / name, bmp);
    EXPECT_EQ(BitmapDiff(picture, bmp), "") << name;
  }
}

TEST(LoadFileTest, FailedLoadLeavesTheBitmapAlone) {
  TempDir dir;
  WriteBytes({'B', 'M', 1, 2, 3}, dir / "broken.bmp");
  TBitmap bmp = MakePicture(3, 2);
  EXPECT_THROW(LoadFile(dir / "broken.bmp", bmp), PictureError);
  EXPECT_EQ(BitmapDiff(MakePicture(3, 2), bmp), "");
}

}  // namespace
}  // namespace kelpra::test

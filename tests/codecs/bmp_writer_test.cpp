#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "codec_test_util.h"
#include "codecs/bmp_writer.h"
#include "support/child_process.h"
#include "support/test_pictures.h"
#include "support/write_faults.h"

namespace kelpra::test {
namespace {

TEST(BmpWriterTest, TwentyFourBitRoundTripsAndMatchesTheReferenceLayout) {
  TempDir dir;
  const TBitmap picture = MakePicture(7, 5, 2);  // 7 * 3 bytes: rows padded
  SaveBmp(picture, dir / "saved.png");           // BMP data whatever the name
  WriteBmp(picture, dir / "reference.bmp");
  EXPECT_EQ(ReadBytes(dir / "saved.png"), ReadBytes(dir / "reference.bmp"));
  TBitmap bmp;
  LoadFile(dir / "saved.png", bmp);
  EXPECT_EQ(BitmapDiff(picture, bmp), "");
}

TEST(BmpWriterTest, EightBitKeepsItsColourTable) {
  TempDir dir;
  TBitmap grey(5, 3, pf8bit);
  for (int i = 0; i < 256; ++i) {
    grey.Palette()[i] = {std::uint8_t(i), std::uint8_t(i), std::uint8_t(255 - i)};
  }
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x)
      grey.ScanLine(y)[x] = std::uint8_t(x * 50 + y);
  }
  SaveBmp(grey, dir / "grey.bmp");
  const std::vector<std::uint8_t> bytes = ReadBytes(dir / "grey.bmp");
  ASSERT_GT(bytes.size(), 30u);
  EXPECT_EQ(bytes[28], 8);  // bits per pixel
  EXPECT_EQ(bytes.size(), 14u + 40 + 1024 + 8 * 3);
  TBitmap bmp;
  LoadFile(dir / "grey.bmp", bmp);
  TBitmap expected(grey);
  expected.SetPixelFormat(pf24bit);
  EXPECT_EQ(BitmapDiff(expected, bmp), "");
}

TEST(BmpWriterTest, ReplacesAnExistingFileAndLeavesNoTemporary) {
  TempDir dir;
  WriteBytes({1, 2, 3}, dir / "p.bmp");
  SaveBmp(MakePicture(2, 2), dir / "p.bmp");
  TBitmap bmp;
  LoadFile(dir / "p.bmp", bmp);
  EXPECT_EQ(BitmapDiff(MakePicture(2, 2), bmp), "");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(BmpWriterTest, TargetThatCannotBeCreatedGivesAClearErrorAndKeepsTheOldFile) {
  TempDir dir;
  try {
    SaveBmp(MakePicture(2, 2), dir / "no such folder" / "p.bmp");
    FAIL() << "no error";
  } catch (const PictureError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot save \"p.bmp\": No such file or directory");
  }
  // A folder in the way: the rename fails, the folder stays.
  std::filesystem::create_directory(dir / "taken.bmp");
  std::filesystem::create_directory(dir / "taken.bmp" / "inside");
  EXPECT_THROW(SaveBmp(MakePicture(2, 2), dir / "taken.bmp"), PictureError);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "taken.bmp" / "inside"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

class BmpWriterFaultTest : public ::testing::TestWithParam<WriteFault> {};

TEST_P(BmpWriterFaultTest, FailsWithTheReasonAndKeepsTheOldFile) {
  TempDir dir;
  const std::string result =
      ExpectWriteFails(GetParam(), dir / "folder", "old.bmp", "old", [&]() -> std::string {
        try {
          SaveBmp(MakePicture(3, 2), dir / "folder" / "old.bmp");
          return "no error";
        } catch (const PictureError& error) {
          return error.what();
        }
      });
  if (result == kNoNamespace)
    GTEST_SKIP() << result << "; the file-size limit shows the same fault";
  EXPECT_EQ(result, "");
}

INSTANTIATE_TEST_SUITE_P(Faults, BmpWriterFaultTest, ::testing::ValuesIn(WriteFaults()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BmpWriterTest, SpecialFilesAreRefusedWithoutBlocking) {
  TempDir dir;
  ASSERT_EQ(mkfifo((dir / "fifo.bmp").c_str(), 0644), 0);
  try {
    SaveBmp(MakePicture(2, 2), dir / "fifo.bmp");
    FAIL() << "no error";
  } catch (const PictureError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot save \"fifo.bmp\": it is not a regular file");
  }
  EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"fifo.bmp"});
  EXPECT_THROW(SaveBmp(MakePicture(2, 2), "/dev/null"), PictureError);
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

TEST(BmpWriterTest, ALinkIsWrittenThroughAndTheFileKeepsItsMode) {
  TempDir dir;
  std::filesystem::create_directory(dir / "real");
  WriteBytes({1, 2, 3}, dir / "real" / "p.bmp");
  ASSERT_EQ(chmod((dir / "real" / "p.bmp").c_str(), 0640), 0);
  std::filesystem::create_symlink("real/p.bmp", dir / "relative.bmp");
  std::filesystem::create_symlink(dir / "relative.bmp", dir / "absolute.bmp");  // a chain
  std::filesystem::create_symlink("real/new.bmp", dir / "dangling.bmp");

  SaveBmp(MakePicture(3, 2), dir / "absolute.bmp");
  SaveBmp(MakePicture(2, 3), dir / "dangling.bmp");

  EXPECT_TRUE(std::filesystem::is_symlink(dir / "absolute.bmp"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "relative.bmp"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "dangling.bmp"));
  TBitmap bmp;
  LoadFile(dir / "real" / "p.bmp", bmp);
  EXPECT_EQ(BitmapDiff(MakePicture(3, 2), bmp), "");
  LoadFile(dir / "real" / "new.bmp", bmp);
  EXPECT_EQ(BitmapDiff(MakePicture(2, 3), bmp), "");
  struct stat info;
  ASSERT_EQ(stat((dir / "real" / "p.bmp").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(FolderEntries(dir / "real"), (std::vector<std::string>{"new.bmp", "p.bmp"}));
}

// The temporary file's name must fit the file system's limit of 255 bytes as the target's does.
TEST(BmpWriterTest, NamesUpToTheLengthLimitSave) {
  std::string japanese;
  for (int i = 0; i < 85; ++i)
    japanese += "\xe6\x97\xa5";  // U+65E5, three bytes
  const std::string names[] = {
      japanese.substr(0, 82 * 3) + ".bmp",  // 250 bytes
      japanese,                             // 255 bytes, no extension
      std::string(251, 'a') + ".bmp",       // 255 bytes
  };
  for (const std::string& name : names) {
    SCOPED_TRACE(name.size());
    TempDir dir;
    WriteBytes({1, 2, 3}, dir / name);
    SaveBmp(MakePicture(3, 2), dir / name);
    TBitmap bmp;
    LoadFile(dir / name, bmp);
    EXPECT_EQ(BitmapDiff(MakePicture(3, 2), bmp), "");
    EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{name});
  }
}

}  // namespace
}  // namespace kelpra::test

#include <gtest/gtest.h>

#include "codec_test_util.h"
#include "codecs/bmp_writer.h"
#include "support/test_pictures.h"

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

}  // namespace
}  // namespace kelpra::test

#include "core/page_composer.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <cmath>
#include <vector>

#include "codecs/picture_loader.h"
#include "core/adjustment_pipeline.h"
#include "core/file_search.h"
#include "core/path_list.h"
#include "imaging/geometry.h"
#include "imaging/resample.h"
#include "imaging/tone.h"
#include "support/test_pictures.h"

namespace kelpra {
namespace {

using test::BitmapDiff;
using test::MakePicture;

constexpr int kLandscapeW = 400, kLandscapeH = 300;

// A folder of pages written losslessly, each a distinct picture, and the list of their paths.
class PageFolder {
 public:
  // name -> size; a picture per name with its own seed.
  void Add(const char* name, int width, int height) {
    const TBitmap bmp = MakePicture(width, height, std::uint32_t(pages_.size() + 1));
    test::WritePng(bmp, dir_ / name);
    pages_.push_back({name, bmp});
    files_.Add(QString::fromStdString((dir_ / name).string()));
  }
  const PathList& files() const { return files_; }
  const TBitmap& picture(const char* name) const {
    for (const auto& page : pages_) {
      if (page.name == name)
        return page.bmp;
    }
    throw std::logic_error("no such page");
  }
  std::filesystem::path path(const char* name) const { return dir_ / name; }

 private:
  struct Page {
    std::string name;
    TBitmap bmp;
  };
  test::TempDir dir_;
  std::vector<Page> pages_;
  PathList files_;
};

PageRequest Request(const PageFolder& folder, int ndxR, int clientW = kLandscapeW,
                    int clientH = kLandscapeH) {
  PageRequest request;
  request.files = &folder.files();
  request.ndxR = ndxR;
  request.options.stretch = false;  // pictures at their own size, so pixels can be compared
  request.clientWidth = clientW;
  request.clientHeight = clientH;
  return request;
}

PageResult Compose(const PageRequest& request) {
  PageResult result;
  ComposePage(request, result);
  EXPECT_TRUE(result.done);
  return result;
}

// The caption without its padding and counter.
std::string Title(const PageResult& result) {
  QString title = result.caption;
  title.remove(QRegularExpression(" +[0-9]+/[0-9]+$"));
  return title.toStdString();
}

TBitmap Spread(const TBitmap& left, const TBitmap& right, int gap = 3) {
  TBitmap spread = left;
  SideBySide(spread, right, clBtnShadow, gap);
  return spread;
}

TEST(ComposePage, OneFileIsShownAlone) {
  PageFolder folder;
  folder.Add("a.png", 20, 30);
  const PageResult result = Compose(Request(folder, 0));
  EXPECT_FALSE(result.twoPics);
  EXPECT_FALSE(result.ndxLUpdated);
  EXPECT_EQ(BitmapDiff(folder.picture("a.png"), result.picture), "");
  EXPECT_TRUE(result.caption.endsWith(u"  1/1"));
  EXPECT_EQ(Title(result), "[Kelpra] (a.png) 20 x 30");
  EXPECT_EQ(result.dialogFileName, "a.png");
  EXPECT_EQ(result.dialogFolder.toStdString(), folder.path("a.png").parent_path().string());
}

TEST(ComposePage, SpreadOrderFollowsSwapLR) {
  PageFolder folder;
  folder.Add("a.png", 20, 30);
  folder.Add("b.png", 22, 28);
  folder.Add("c.png", 18, 31);
  const TBitmap& a = folder.picture("a.png");
  const TBitmap& b = folder.picture("b.png");
  const TBitmap& c = folder.picture("c.png");
  const struct {
    int ndxR;
    bool swap;
    bool splitter;
    int ndxL;
    TBitmap expected;
    const char* title;
  } cases[] = {
      // Right to left: the current page on the right, the caption names the left one first.
      {0, false, true, 1, Spread(b, a), "[Kelpra] (b.png + a.png)"},
      {0, true, true, 1, Spread(a, b), "[Kelpra] (a.png + b.png)"},
      {0, false, false, 1, Spread(b, a, 0), "[Kelpra] (b.png + a.png)"},
      // The last page is paired with the first.
      {2, false, true, 0, Spread(a, c), "[Kelpra] (a.png + c.png)"},
      {2, true, true, 0, Spread(c, a), "[Kelpra] (c.png + a.png)"},
  };
  for (const auto& test : cases) {
    PageRequest request = Request(folder, test.ndxR);
    request.options.swapLR = test.swap;
    request.options.splitter = test.splitter;
    request.state = "  Auto(10s)";
    const PageResult result = Compose(request);
    SCOPED_TRACE(test.title);
    EXPECT_TRUE(result.twoPics);
    EXPECT_TRUE(result.ndxLUpdated);
    EXPECT_EQ(result.ndxL, test.ndxL);
    EXPECT_EQ(BitmapDiff(test.expected, result.picture), "");
    EXPECT_EQ(Title(result), std::string(test.title) + "  Auto(10s)");
    EXPECT_TRUE(result.caption.endsWith(QString("  %1/3").arg(test.ndxR + 1)));
    EXPECT_EQ(result.dialogFileName, ExtractFileName(folder.files()[test.ndxR]));
  }
}

TEST(ComposePage, SinglePageWhenTheWindowOrOptionSaysSo) {
  PageFolder folder;
  folder.Add("a.png", 20, 30);
  folder.Add("b.png", 20, 30);
  const struct {
    const char* what;
    int clientW, clientH;
    bool single;
  } cases[] = {{"square client area", 300, 300, false},
               {"portrait client area", 300, 400, false},
               {"Single picture on", 400, 300, true}};
  for (const auto& test : cases) {
    PageRequest request = Request(folder, 0, test.clientW, test.clientH);
    request.options.singlePicture = test.single;
    const PageResult result = Compose(request);
    EXPECT_FALSE(result.twoPics) << test.what;
    EXPECT_FALSE(result.ndxLUpdated) << test.what;
    EXPECT_EQ(Title(result), "[Kelpra] (a.png) 20 x 30") << test.what;
  }
}

// A spread needs both pages strictly portrait after turning; otherwise the current page alone.
TEST(ComposePage, SpreadOnlyOfPortraitPages) {
  const struct {
    const char* what;
    int currentW, currentH, nextW, nextH;
    const char* direction;
    bool spread;
  } cases[] = {
      {"square current page", 30, 30, 20, 30, "UP", false},
      {"square next page", 20, 30, 30, 30, "UP", false},
      {"landscape next page", 20, 30, 30, 20, "UP", false},
      {"two landscape scans turned left", 30, 20, 32, 21, "LEFT", true},
      {"two landscape scans turned right", 30, 20, 32, 21, "RIGHT", true},
      {"portrait pages turned left", 20, 30, 20, 30, "LEFT", false},
      {"portrait pages upside down", 20, 30, 21, 31, "DOWN", true},
  };
  for (const auto& test : cases) {
    PageFolder folder;
    folder.Add("a.png", test.currentW, test.currentH);
    folder.Add("b.png", test.nextW, test.nextH);
    PageRequest request = Request(folder, 0);
    request.effects.direction = test.direction;
    const PageResult result = Compose(request);
    SCOPED_TRACE(test.what);
    EXPECT_EQ(result.twoPics, test.spread);
    EXPECT_TRUE(result.ndxLUpdated);  // the second page is loaded either way
    TBitmap current = folder.picture("a.png");
    TBitmap next = folder.picture("b.png");
    PictureRotate(current, test.direction);
    PictureRotate(next, test.direction);
    EXPECT_EQ(BitmapDiff(test.spread ? Spread(next, current) : current, result.picture), "");
    // The caption gives the size as loaded, before any turn.
    if (!test.spread) {
      EXPECT_EQ(
          Title(result),
          QString("[Kelpra] (a.png) %1 x %2").arg(test.currentW).arg(test.currentH).toStdString());
    }
  }
}

// Columns of the source that each column of the half shows (all rows alike).
std::vector<int> HalfColumns(int width, int half, bool swap) {
  TBitmap bmp(width, 2);
  for (int x = 0; x < width; ++x) {
    for (int y = 0; y < 2; ++y)
      bmp.ScanLine(y)[3 * x] = std::uint8_t(x);
  }
  HalfCut(bmp, half, swap);
  std::vector<int> columns;
  for (int x = 0; x < bmp.Width(); ++x)
    columns.push_back(bmp.ScanLine(1)[3 * x]);
  return columns;
}

TEST(HalfCut, TakesTheHalfReadFirst) {
  const struct {
    int width, half;
    bool swap;
    std::vector<int> columns;
  } cases[] = {
      {6, 1, false, {3, 4, 5}},
      {6, 2, false, {0, 1, 2}},
      {6, 1, true, {0, 1, 2}},
      {6, 2, true, {3, 4, 5}},
      // round(5 / 2) = 2 (ties to even): the right half's three columns stretched into two.
      {5, 1, false, {2, 3}},
      {5, 2, false, {0, 1}},
      // round(7 / 2) = 4: the right half's three columns stretched into four.
      {7, 1, false, {4, 4, 5, 6}},
      {7, 2, false, {0, 1, 2, 3}},
      // Before the first showing Half is 0: the whole picture squeezed.
      {6, 0, false, {0, 2, 4}},
  };
  for (const auto& test : cases) {
    EXPECT_EQ(HalfColumns(test.width, test.half, test.swap), test.columns)
        << test.width << " half " << test.half << " swap " << test.swap;
  }
}

TEST(HalfCut, LeavesPortraitAndSquarePictures) {
  for (const auto& [w, h] : {std::pair{3, 3}, {2, 5}}) {
    const TBitmap original = MakePicture(w, h);
    TBitmap bmp = original;
    HalfCut(bmp, 1, false);
    EXPECT_EQ(BitmapDiff(original, bmp), "");
  }
}

TEST(ComposePage, LandscapeHalfShowsOneHalfWithTheFullSizeCaption) {
  PageFolder folder;
  folder.Add("scan.png", 41, 30);
  folder.Add("z.png", 20, 30);
  for (const int half : {1, 2}) {
    PageRequest request = Request(folder, 0);
    request.options.landscapeHalf = true;
    request.half = half;
    const PageResult result = Compose(request);
    TBitmap expected = folder.picture("scan.png");
    HalfCut(expected, half, false);
    EXPECT_EQ(BitmapDiff(expected, result.picture), "") << half;
    EXPECT_FALSE(result.twoPics);
    EXPECT_FALSE(result.ndxLUpdated);
    EXPECT_EQ(Title(result), "[Kelpra] (scan.png) 41 x 30");
  }
  // A square page is never halved.
  PageFolder square;
  square.Add("sq.png", 30, 30);
  PageRequest request = Request(square, 0);
  request.options.landscapeHalf = true;
  EXPECT_EQ(BitmapDiff(square.picture("sq.png"), Compose(request).picture), "");
}

TEST(ComposePage, SpreadIsAdjustedAsOnePictureFrameIncluded) {
  PageFolder folder;
  folder.Add("a.png", 20, 30);
  folder.Add("b.png", 20, 26);
  PageRequest request = Request(folder, 0);
  request.effects.brightness = 40;
  request.effects.contrast = 30;
  const PageResult result = Compose(request);
  TBitmap expected = Spread(folder.picture("b.png"), folder.picture("a.png"));
  Contrast(expected, 30);
  Brightness(expected, 40);
  EXPECT_EQ(BitmapDiff(expected, result.picture), "");
  // The frame is not the plain button-shadow grey any more.
  EXPECT_NE(result.picture.ScanLine(0)[0], GetBValue(ColorToRGB(clBtnShadow)));
}

TEST(ComposePage, StretchFitsTheClientArea) {
  PageFolder folder;
  folder.Add("a.png", 20, 30);
  folder.Add("b.png", 20, 30);
  PageRequest request = Request(folder, 0);
  request.options.stretch = true;
  const PageResult result = Compose(request);
  EXPECT_EQ(result.imageWidth, kLandscapeW);
  EXPECT_EQ(result.imageHeight, kLandscapeH);
  EXPECT_EQ(result.imageLeft, 0);
  EXPECT_EQ(result.imageTop, 0);
  TBitmap expected = Spread(folder.picture("b.png"), folder.picture("a.png"));
  const double r = 400.0 / 45;  // 45 x 32: the width limits
  BmpResize(expected, int(std::trunc(45 * r)), int(std::trunc(32 * r)), rmBilinear);
  EXPECT_EQ(BitmapDiff(expected, result.picture), "");
}

TEST(ComposePage, MonochromeIsNotResampled) {
  PageFolder folder;
  folder.Add("a.png", 20, 30);
  PageRequest request = Request(folder, 0);
  request.options.stretch = true;
  request.effects.monochrome = true;
  const PageResult result = Compose(request);
  TBitmap expected = folder.picture("a.png");
  GrayScale(expected);
  EXPECT_EQ(BitmapDiff(expected, result.picture), "");
  EXPECT_EQ(result.imageWidth, kLandscapeW);  // the control still takes the client area
}

TEST(ComposePage, WithoutStretchTheControlTakesThePictureSizeCentred) {
  PageFolder folder;
  folder.Add("big.png", 301, 500);
  const PageResult result = Compose(Request(folder, 0, 200, 100));
  EXPECT_EQ(result.imageWidth, 301);
  EXPECT_EQ(result.imageHeight, 500);
  EXPECT_EQ(result.imageLeft, -50);  // (200 - 301) div 2, toward zero
  EXPECT_EQ(result.imageTop, -200);
}

TEST(ComposePage, UnreadablePagesReportWhatWasDecided) {
  PageFolder folder;
  folder.Add("a.png", 20, 30);
  folder.Add("b.png", 20, 30);
  test::WriteBytes({'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'}, folder.path("b.png"));
  // The second page of a spread: the index and the dialog are set, nothing is shown.
  PageResult result;
  EXPECT_THROW(ComposePage(Request(folder, 0), result), PictureError);
  EXPECT_TRUE(result.dialogUpdated);
  EXPECT_EQ(result.dialogFileName, "a.png");
  EXPECT_TRUE(result.ndxLUpdated);
  EXPECT_EQ(result.ndxL, 1);
  EXPECT_FALSE(result.done);
  // The current page itself: nothing changes.
  PageResult second;
  EXPECT_THROW(ComposePage(Request(folder, 1), second), PictureError);
  EXPECT_FALSE(second.dialogUpdated);
  EXPECT_FALSE(second.ndxLUpdated);
  EXPECT_FALSE(second.done);
  // Alone in a portrait window the readable page shows.
  EXPECT_TRUE(Compose(Request(folder, 0, 100, 200)).done);
}

TEST(ComposePage, CurrentPageOutsideTheListIsRefused) {
  PageFolder folder;
  folder.Add("a.png", 20, 30);
  PageResult result;
  EXPECT_THROW(ComposePage(Request(folder, 1), result), std::out_of_range);
  EXPECT_THROW(ComposePage(Request(folder, -1), result), std::out_of_range);
}

}  // namespace
}  // namespace kelpra

// The validated reuse of decoded pages, the loading of a spread's pages at once with each error
// where sequential loading raises it, and the compositions made ahead.
#include "core/read_ahead.h"

#include <gtest/gtest.h>
#include <QRect>
#include <QSize>

#include <filesystem>
#include <functional>

#include "codecs/picture_loader.h"
#include "core/file_names.h"
#include "support/test_pictures.h"

namespace kelpra {
namespace {

using test::BitmapDiff;
using test::MakePicture;

// A folder of BMP pages: a BMP's file size follows its dimensions, so a page can be rewritten
// with another picture of the very same size.
class Book {
 public:
  QString Add(const std::string& name, int width, int height, std::uint32_t seed) {
    const std::filesystem::path file = dir_ / name;
    test::WriteBmp(MakePicture(width, height, seed), file);
    const QString path = QString::fromStdString(file.string());
    files.Add(path);
    return path;
  }
  PathList files;

 private:
  test::TempDir dir_;
};

PageRequest Request(const PathList& files, int ndxR) {
  PageRequest request;
  request.files = &files;
  request.ndxR = ndxR;
  request.clientWidth = 120;
  request.clientHeight = 80;
  return request;
}

void Rewrite(const QString& path, int width, int height, std::uint32_t seed) {
  const std::filesystem::path file = NativePath(path);
  const auto time = std::filesystem::last_write_time(file);
  test::WriteBmp(MakePicture(width, height, seed), file);
  std::filesystem::last_write_time(file, time);
}

TEST(FileIdentity, RewritingWithTheOldTimeStillChangesIt) {
  Book book;
  const QString path = book.Add("a.bmp", 6, 8, 1);
  const std::optional<FileIdentity> before = IdentityOf(path);
  ASSERT_TRUE(before);
  EXPECT_EQ(IdentityOf(path), before);
  Rewrite(path, 6, 8, 2);
  const std::optional<FileIdentity> after = IdentityOf(path);
  ASSERT_TRUE(after);
  EXPECT_EQ(after->size, before->size);
  EXPECT_EQ(after->modifiedNs, before->modifiedNs);
  EXPECT_NE(after, before);
  EXPECT_FALSE(IdentityOf(path + ".missing"));
}

TEST(DecodedPageStore, KeepsWithinItsBudgetAndOnlyWhatItIsTold) {
  const auto page = [](int w, int h) { return std::make_shared<const TBitmap>(w, h); };
  const FileIdentity one{1, 1, 10, 5, 5};
  const FileIdentity other{1, 1, 10, 5, 6};
  // 10 x 10 pixels take 32 bytes a row: 320 bytes.
  DecodedPageStore store(700);
  EXPECT_TRUE(store.Keep("a", one, page(10, 10)));
  EXPECT_TRUE(store.Keep("b", one, page(10, 10)));
  EXPECT_FALSE(store.Keep("c", one, page(10, 10))) << "past the budget";
  EXPECT_FALSE(store.Keep("huge", one, page(100, 100)));
  EXPECT_EQ(store.BytesHeld(), 640u);
  EXPECT_TRUE(store.Find("a", one));
  EXPECT_FALSE(store.Find("a", other)) << "another state of the file";
  EXPECT_FALSE(store.Find("c", one));
  // A newer decode replaces the older one of its path.
  EXPECT_TRUE(store.Keep("a", other, page(10, 10)));
  EXPECT_FALSE(store.Find("a", one));
  EXPECT_TRUE(store.Find("a", other));
  EXPECT_EQ(store.BytesHeld(), 640u);
  store.KeepOnly({"b"});
  EXPECT_EQ(store.Count(), 1);
  EXPECT_EQ(store.BytesHeld(), 320u);
  EXPECT_TRUE(store.Find("b", one));
  EXPECT_EQ(DecodedPageStore::DefaultBudget(), sizeof(void*) == 4 ? 200000000u : 400000000u);
}

TEST(ReadAhead, AKeptPageIsUsedOnlyWhileItsFileIsUnchanged) {
  Book book;
  const QString path = book.Add("a.bmp", 6, 8, 1);
  ReadAhead readAhead;
  EXPECT_EQ(BitmapDiff(MakePicture(6, 8, 1), readAhead.Load({path})[0].picture), "");
  EXPECT_EQ(readAhead.Store().Count(), 1);
  Rewrite(path, 6, 8, 2);
  EXPECT_EQ(BitmapDiff(MakePicture(6, 8, 2), readAhead.Load({path})[0].picture), "");
  EXPECT_EQ(readAhead.Store().Count(), 1);
  std::filesystem::remove(NativePath(path));
  const std::vector<LoadedPage> gone = readAhead.Load({path});
  EXPECT_TRUE(gone[0].error);
  EXPECT_THROW(readAhead.IsLandscape(path), PictureError);
}

TEST(ReadAhead, IsLandscapeFromTheKeptPage) {
  Book book;
  const QString wide = book.Add("wide.bmp", 9, 8, 1);
  const QString tall = book.Add("tall.bmp", 8, 9, 2);
  ReadAhead readAhead;
  EXPECT_FALSE(readAhead.KnownLandscape(wide));
  EXPECT_TRUE(readAhead.IsLandscape(wide));
  EXPECT_EQ(readAhead.KnownLandscape(wide), true);
  EXPECT_FALSE(readAhead.IsLandscape(tall));
  EXPECT_EQ(readAhead.KnownLandscape(tall), false);
  Rewrite(tall, 9, 8, 3);  // no longer the kept state
  EXPECT_FALSE(readAhead.KnownLandscape(tall));
  EXPECT_TRUE(readAhead.IsLandscape(tall));
}

// What a composition leaves behind, an error included.
struct Outcome {
  std::string error;
  PageResult result;
};

Outcome ComposeWith(const PageRequest& request, const PageLoader& load) {
  Outcome outcome;
  try {
    ComposePage(request, outcome.result, load);
  } catch (const PictureError& error) {
    outcome.error = error.what();
  }
  return outcome;
}

void ExpectSameOutcome(const Outcome& expected, const Outcome& actual) {
  EXPECT_EQ(expected.error, actual.error);
  EXPECT_EQ(expected.result.dialogUpdated, actual.result.dialogUpdated);
  EXPECT_EQ(expected.result.dialogFileName, actual.result.dialogFileName);
  EXPECT_EQ(expected.result.ndxLUpdated, actual.result.ndxLUpdated);
  EXPECT_EQ(expected.result.ndxL, actual.result.ndxL);
  EXPECT_EQ(expected.result.done, actual.result.done);
  EXPECT_EQ(expected.result.caption, actual.result.caption);
  EXPECT_EQ(expected.result.twoPics, actual.result.twoPics);
  EXPECT_EQ(BitmapDiff(expected.result.picture, actual.result.picture), "");
}

struct ErrorCase {
  const char* name;
  bool firstBroken;
  bool secondBroken;
  bool landscapeHalf;
  int firstWidth;  // wider than 40: a landscape scan
};

class ReadAheadErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ReadAheadErrorTest, PagesLoadedAtOnceFailAsPagesLoadedInTurn) {
  const ErrorCase& c = GetParam();
  Book book;
  const QString first = book.Add("a.bmp", c.firstWidth, 40, 1);
  const QString second = book.Add("b.bmp", 30, 40, 2);
  if (c.firstBroken)
    test::WriteBytes({'B', 'M', 1}, NativePath(first));
  if (c.secondBroken)
    std::filesystem::remove(NativePath(second));
  PageRequest request = Request(book.files, 0);
  request.options.landscapeHalf = c.landscapeHalf;
  const Outcome expected = ComposeWith(request, LoadFromDisk);
  ReadAhead readAhead;
  ExpectSameOutcome(expected, ComposeWith(request, readAhead.Loader()));
  // Once more, with whatever was kept.
  ExpectSameOutcome(expected, ComposeWith(request, readAhead.Loader()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadAheadErrorTest,
    ::testing::Values(ErrorCase{"both_readable", false, false, false, 30},
                      ErrorCase{"first_broken", true, false, false, 30},
                      ErrorCase{"second_missing", false, true, false, 30},
                      ErrorCase{"both_broken_first_wins", true, true, false, 30},
                      ErrorCase{"half_of_a_scan_needs_no_second", false, true, true, 60},
                      ErrorCase{"portrait_with_halves_on_needs_the_second", false, true, true, 30}),
    [](const auto& info) { return std::string(info.param.name); });

// A change to a request that makes another picture.
struct RequestChange {
  const char* name;
  std::function<void(PageRequest&)> change;
};

// Every change to a request but its client size; the list one needs a list other than the
// one of the request.
std::vector<RequestChange> ChangesBeforeFit(const PathList& otherFiles) {
  return {
      {"ndxR", [](PageRequest& r) { r.ndxR = 0; }},
      {"half", [](PageRequest& r) { r.half = 2; }},
      {"swap", [](PageRequest& r) { r.options.swapLR = true; }},
      {"single", [](PageRequest& r) { r.options.singlePicture = true; }},
      {"stretch", [](PageRequest& r) { r.options.stretch = false; }},
      {"splitter", [](PageRequest& r) { r.options.splitter = false; }},
      {"halves", [](PageRequest& r) { r.options.landscapeHalf = true; }},
      {"direction", [](PageRequest& r) { r.effects.direction = "LEFT"; }},
      {"contrast", [](PageRequest& r) { r.effects.contrast = 10; }},
      {"brightness", [](PageRequest& r) { r.effects.brightness = 10; }},
      {"sharpness", [](PageRequest& r) { r.effects.sharpness = 10; }},
      {"monochrome", [](PageRequest& r) { r.effects.monochrome = true; }},
      {"filter", [](PageRequest& r) { r.effects.resizeFilter = "Lanczos"; }},
      {"list", [&otherFiles](PageRequest& r) { r.files = &otherFiles; }},
  };
}

TEST(ReadAhead, AComposedTurnIsTakenOnlyForTheSameRequestAndFiles) {
  Book book;
  for (int i = 0; i < 4; ++i)
    book.Add("p" + std::to_string(i) + ".bmp", 30, 40, std::uint32_t(i + 1));
  PathList otherFiles = book.files;
  otherFiles.RemoveAt(2);
  std::vector<RequestChange> changes = ChangesBeforeFit(otherFiles);
  changes.push_back({"width", [](PageRequest& r) { r.clientWidth = 121; }});
  changes.push_back({"height", [](PageRequest& r) { r.clientHeight = 81; }});

  const PageRequest planned = Request(book.files, 1);
  for (const RequestChange& c : changes) {
    SCOPED_TRACE(c.name);
    ReadAhead readAhead;
    readAhead.ComposeAhead({planned}, {});
    readAhead.WaitIdle();
    PageRequest asked = planned;
    c.change(asked);
    EXPECT_FALSE(SameComposition(planned, asked));
    EXPECT_FALSE(readAhead.TakeComposed(asked));
  }
  // The same request, with another caption suffix: the picture made ahead, the caption made now.
  ReadAhead readAhead;
  readAhead.ComposeAhead({planned}, {});
  readAhead.WaitIdle();
  PageRequest asked = planned;
  asked.state = "  Auto(10s)";
  PageResult expected;
  ComposePage(asked, expected);
  const std::optional<PageResult> taken = readAhead.TakeComposed(asked);
  ASSERT_TRUE(taken);
  EXPECT_EQ(BitmapDiff(expected.picture, taken->picture), "");
  EXPECT_EQ(taken->caption, expected.caption);
  EXPECT_EQ(taken->ndxL, expected.ndxL);
  EXPECT_TRUE(taken->twoPics);
  EXPECT_EQ(readAhead.ComposedUsed(), 1);
  EXPECT_FALSE(readAhead.TakeComposed(asked)) << "taken once";
}

TEST(ReadAhead, AComposedTurnIsDroppedWhenAFileItReadChanged) {
  Book book;
  const QString a = book.Add("a.bmp", 30, 40, 1);
  const QString b = book.Add("b.bmp", 30, 40, 2);
  const PageRequest request = Request(book.files, 0);
  ReadAhead readAhead;
  readAhead.ComposeAhead({request}, {a, b});
  readAhead.WaitIdle();
  Rewrite(b, 30, 40, 3);
  EXPECT_FALSE(readAhead.TakeComposed(request));
}

TEST(ReadAhead, AFailedCompositionLeavesNothing) {
  Book book;
  const QString a = book.Add("a.bmp", 30, 40, 1);
  const QString b = book.Add("b.bmp", 30, 40, 2);
  test::WriteBytes({'B', 'M'}, NativePath(b));
  const PageRequest request = Request(book.files, 0);
  ReadAhead readAhead;
  readAhead.ComposeAhead({request}, {a, b});
  readAhead.WaitIdle();
  EXPECT_FALSE(readAhead.TakeComposed(request));
  EXPECT_FALSE(readAhead.Store().Find(b, *IdentityOf(b)));
  EXPECT_TRUE(readAhead.Store().Find(a, *IdentityOf(a)));
}

TEST(ReadAhead, PagesPastTheBudgetAreDecodedButNotKept) {
  Book book;
  book.Add("a.bmp", 30, 40, 1);
  book.Add("b.bmp", 30, 40, 2);
  const PageRequest request = Request(book.files, 0);
  PageResult expected;
  ComposePage(request, expected);
  ReadAhead readAhead(true, 100);
  readAhead.ComposeAhead({request}, {});
  readAhead.WaitIdle();
  EXPECT_FALSE(readAhead.TakeComposed(request)) << "the composition is past the budget too";
  EXPECT_EQ(readAhead.Store().Count(), 0);
  PageResult result;
  ComposePage(request, result, readAhead.Loader());
  EXPECT_EQ(BitmapDiff(expected.picture, result.picture), "");
}

TEST(ReadAhead, NothingIsComposedAheadWhenSwitchedOffOrStopped) {
  Book book;
  book.Add("a.bmp", 30, 40, 1);
  book.Add("b.bmp", 30, 40, 2);
  const PageRequest request = Request(book.files, 0);
  ReadAhead off(false);
  off.ComposeAhead({request}, {});
  off.WaitIdle();
  EXPECT_FALSE(off.TakeComposed(request));
  ReadAhead stopped;
  stopped.Stop();
  stopped.ComposeAhead({request}, {});
  stopped.WaitIdle();
  EXPECT_FALSE(stopped.TakeComposed(request));
}

// What the window takes from a composition.
void ExpectSameShowing(const PageResult& expected, const PageResult& actual) {
  EXPECT_EQ(BitmapDiff(expected.picture, actual.picture), "");
  EXPECT_EQ(actual.caption, expected.caption);
  EXPECT_EQ(actual.twoPics, expected.twoPics);
  EXPECT_EQ(actual.ndxL, expected.ndxL);
  EXPECT_EQ(actual.ndxLUpdated, expected.ndxLUpdated);
  EXPECT_EQ(actual.dialogFileName, expected.dialogFileName);
  EXPECT_EQ(actual.dialogFolder, expected.dialogFolder);
  EXPECT_EQ(
      QRect(actual.imageLeft, actual.imageTop, actual.imageWidth, actual.imageHeight),
      QRect(expected.imageLeft, expected.imageTop, expected.imageWidth, expected.imageHeight));
  EXPECT_EQ(QSize(actual.bmpW, actual.bmpH), QSize(expected.bmpW, expected.bmpH));
  EXPECT_TRUE(actual.done);
}

// ComposeNow for the request, checked against a composition from scratch.
void ExpectComposedNow(ReadAhead& readAhead, const PageRequest& request) {
  PageResult expected;
  ComposePage(request, expected);
  PageResult result;
  readAhead.ComposeNow(request, result);
  ExpectSameShowing(expected, result);
}

TEST(ReadAhead, AResizeOnlyFitsTheKeptCompositionAgain) {
  Book book;
  for (int i = 0; i < 3; ++i)
    book.Add("p" + std::to_string(i) + ".bmp", 30, 40, std::uint32_t(i + 1));
  PageRequest request = Request(book.files, 1);
  ReadAhead readAhead;
  ExpectComposedNow(readAhead, request);
  for (const QSize size : {QSize(121, 80), QSize(61, 50), QSize(300, 90), QSize(120, 80)}) {
    SCOPED_TRACE(size.width());
    request.clientWidth = size.width();
    request.clientHeight = size.height();
    request.state = QString::number(size.width());
    ExpectComposedNow(readAhead, request);
  }
  EXPECT_EQ(readAhead.Refitted(), 4);
  // A size taller than wide considers no spread: composed anew.
  request.clientWidth = 80;
  request.clientHeight = 120;
  ExpectComposedNow(readAhead, request);
  EXPECT_EQ(readAhead.Refitted(), 4);
}

TEST(ReadAhead, AKeptCompositionIsRefittedForNoOtherChange) {
  Book book;
  for (int i = 0; i < 4; ++i)
    book.Add("p" + std::to_string(i) + ".bmp", 30, 40, std::uint32_t(i + 1));
  PathList otherFiles = book.files;
  otherFiles.RemoveAt(2);
  const PageRequest shown = Request(book.files, 1);
  for (const RequestChange& c : ChangesBeforeFit(otherFiles)) {
    SCOPED_TRACE(c.name);
    ReadAhead readAhead;
    ExpectComposedNow(readAhead, shown);
    PageRequest asked = shown;
    c.change(asked);
    asked.clientWidth = 150;  // with a resize too
    EXPECT_FALSE(SameBeforeFit(shown, asked));
    ExpectComposedNow(readAhead, asked);
    EXPECT_EQ(readAhead.Refitted(), 0);
  }
  // A page rewritten since: its new picture.
  ReadAhead readAhead;
  ExpectComposedNow(readAhead, shown);
  Rewrite(book.files[2], 30, 40, 9);
  PageRequest resized = shown;
  resized.clientWidth = 150;
  ExpectComposedNow(readAhead, resized);
  EXPECT_EQ(readAhead.Refitted(), 0);
  // Pages no longer to be kept take the composition with them.
  readAhead.ComposeAhead({}, {book.files[0]});
  resized.clientWidth = 140;
  ExpectComposedNow(readAhead, resized);
  EXPECT_EQ(readAhead.Refitted(), 0);
}

}  // namespace
}  // namespace kelpra

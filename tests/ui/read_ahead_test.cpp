// Turning pages with the work done ahead shows exactly what turning without it shows: every
// screen, caption and error, also when files change between turns and when settings change
// while the worker is busy.
#include <gtest/gtest.h>

#include <QAction>
#include <QSlider>
#include <chrono>
#include <filesystem>

#include "core/file_names.h"
#include "support/scoped_env.h"
#include "ui/image_control.h"
#include "ui_fixture.h"

namespace kelpra::test {
namespace {

// What the user can observe after a step.
struct Screen {
  TBitmap picture;
  QRect bounds;
  QString caption;
  bool twoPics = false;
  int ndxL = 0;
  std::vector<QString> errors;
};

Screen Capture(ViewerFixture& viewer) {
  TForm1& f = viewer.form1();
  return {f.DisplayedPicture(),
          f.Image1->Bounds(),
          viewer.Caption(),
          TForm1Inspector::TwoPics(f),
          f.ndxL,
          viewer.dialogs.MessagesOf("ShowError")};
}

void ExpectSame(const Screen& expected, const Screen& actual, const std::string& where) {
  SCOPED_TRACE(where);
  EXPECT_EQ(BitmapDiff(expected.picture, actual.picture), "");
  EXPECT_EQ(expected.bounds, actual.bounds);
  EXPECT_EQ(expected.caption, actual.caption);
  EXPECT_EQ(expected.twoPics, actual.twoPics);
  EXPECT_EQ(expected.ndxL, actual.ndxL);
  EXPECT_EQ(expected.errors, actual.errors);
}

enum class Mode {
  kOff,          // nothing composed ahead
  kSettled,      // each step after the worker has finished
  kInterrupted,  // each step at once, while the worker may still be busy
};

ReadAhead& ReadAheadOf(ViewerFixture& viewer) {
  return TForm1Inspector::ReadAheadOf(viewer.form1());
}

// One step of a walk: N Next, P Previous, K a timer tick, L and R rotations, U upright, S "Swap
// LR", H "Landscape 1/2", 1 "Single picture", T "Stretch", W a resize, C a contrast change.
void RunStep(ViewerFixture& viewer, char step) {
  TForm1& f = viewer.form1();
  switch (step) {
    case 'N':
      viewer.Run(&TForm1::Action14NextExecute);
      break;
    case 'P':
      viewer.Run(&TForm1::Action15PreviousExecute);
      break;
    case 'K':
      viewer.Run(&TForm1::Timer1Timer);
      break;
    case 'L':
      viewer.Run(&TForm1::Action18RotateLExecute);
      break;
    case 'R':
      viewer.Run(&TForm1::Action19RotateRExecute);
      break;
    case 'U':
      viewer.Run(&TForm1::Action20UprightExecute);
      break;
    case 'S':
      viewer.Run(&TForm1::Action06SwapLRExecute);
      break;
    case 'H':
      viewer.Run(&TForm1::Action23HalfExecute);
      break;
    case '1':
      viewer.Run(&TForm1::Action04ShowSingleExecute);
      break;
    case 'T':
      viewer.Run(&TForm1::Action08StretchExecute);
      break;
    case 'W': {
      const QSize client = f.ClientSize();
      viewer.SetClientSize(client.width() == 400 ? QSize(360, 280) : QSize(400, 300));
      break;
    }
    case 'C': {
      QSlider* contrast = viewer.form2().TrackBarContrast;
      contrast->setValue(contrast->value() == 0 ? 30 : 0);
      viewer.Run(&TForm1::ReadFiles);
      break;
    }
    default:
      FAIL() << "unknown step " << step;
  }
}

struct Walk {
  const char* name;
  std::vector<QSize> pages;  // p01.png, p02.png, ...
  bool landscapeHalf;
  bool stretch;
  const char* steps;
};

// Walks the steps from the first page and records every screen.
std::vector<Screen> WalkWith(const Walk& walk, Mode mode, int* composedUsed = nullptr) {
  std::optional<ScopedEnv> off;
  if (mode == Mode::kOff)
    off.emplace("KELPRA_NO_READ_AHEAD", "1");
  ViewerFixture viewer;
  QStringList paths;
  for (std::size_t i = 0; i < walk.pages.size(); ++i) {
    paths << viewer.WritePage("p0" + std::to_string(i + 1) + ".png", walk.pages[i].width(),
                              walk.pages[i].height());
  }
  viewer.Show(QSize(400, 300));
  viewer.SetOption(&TForm1::PM_H, walk.landscapeHalf);
  viewer.SetOption(&TForm1::PM_T, walk.stretch);
  viewer.Open(paths.front());
  std::vector<Screen> screens{Capture(viewer)};
  for (const char* step = walk.steps; *step; ++step) {
    if (mode == Mode::kSettled)
      ReadAheadOf(viewer).WaitIdle();
    RunStep(viewer, *step);
    screens.push_back(Capture(viewer));
  }
  if (composedUsed)
    *composedUsed = ReadAheadOf(viewer).ComposedUsed();
  return screens;
}

constexpr QSize kPage{30, 40};
constexpr QSize kScan{60, 40};
constexpr QSize kSquare{40, 40};
constexpr QSize kLargePage{600, 800};

class ReadAheadWalkTest : public ::testing::TestWithParam<Walk> {};

TEST_P(ReadAheadWalkTest, EveryScreenIsTheOneWithoutReadAhead) {
  const Walk& walk = GetParam();
  const std::vector<Screen> expected = WalkWith(walk, Mode::kOff);
  int composedUsed = 0;
  const std::vector<Screen> settled = WalkWith(walk, Mode::kSettled, &composedUsed);
  const std::vector<Screen> interrupted = WalkWith(walk, Mode::kInterrupted);
  ASSERT_EQ(settled.size(), expected.size());
  ASSERT_EQ(interrupted.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const std::string step = i == 0 ? std::string("opened") : std::string(1, walk.steps[i - 1]);
    ExpectSame(expected[i], settled[i], "settled, step " + std::to_string(i) + " " + step);
    ExpectSame(expected[i], interrupted[i], "interrupted, step " + std::to_string(i) + " " + step);
  }
  EXPECT_GT(composedUsed, 0) << "no turn used a composition made ahead";
}

INSTANTIATE_TEST_SUITE_P(
    Walks, ReadAheadWalkTest,
    ::testing::Values(
        Walk{"spreads_on_and_back", {kPage, kPage, kPage, kPage, kPage}, false, true, "NNNPPPKKK"},
        Walk{"a_square_breaks_the_spread", {kPage, kSquare, kPage, kPage}, false, true, "NNNPPP"},
        Walk{"halves_of_scans", {kScan, kPage, kScan, kPage}, true, true, "NNNNNPPPPP"},
        Walk{"settings_change_between_turns",
             {kPage, kPage, kPage, kPage, kPage, kPage},
             false,
             true,
             "NLNRNUSNP1NP1HNTNWNPCNP"},
        Walk{"at_their_own_size", {kPage, kScan, kPage, kPage}, false, false, "NNRNPPWP"},
        // Pages large enough to keep the worker busy while the next step comes.
        Walk{"changes_while_the_worker_is_busy",
             {kLargePage, kLargePage, kLargePage, kLargePage, kLargePage},
             false,
             true,
             "NLNWNCNSPP"}),
    [](const auto& info) { return std::string(info.param.name); });

// A viewer with read-ahead on, its first spread shown and the work for the next turn done.
struct SettledViewer {
  ViewerFixture viewer;
  QStringList paths;

  explicit SettledViewer(int count = 4) {
    paths = viewer.WritePages(count, 30, 40);
    viewer.Show(QSize(400, 300));
    viewer.Open(paths.front());
    ReadAheadOf(viewer).WaitIdle();
  }
};

TEST(ReadAheadTest, AFileRewrittenWithItsOldSizeAndTimeShowsItsNewPicture) {
  ViewerFixture viewer;
  QStringList paths;
  for (const char* name : {"p01.bmp", "p02.bmp", "p03.bmp", "p04.bmp"})
    paths << viewer.WritePage(name, 30, 40);
  viewer.Show(QSize(400, 300));
  viewer.Open(paths.front());
  ReadAheadOf(viewer).WaitIdle();
  // p03, already decoded ahead, gets another picture of the same size (a BMP's size follows its
  // dimensions) and its old modification time back: only its status-change time tells.
  const std::filesystem::path p03 = NativePath(paths[2]);
  const auto time = std::filesystem::last_write_time(p03);
  const auto size = std::filesystem::file_size(p03);
  WritePicture(MakePicture(30, 40, 99), p03);
  std::filesystem::last_write_time(p03, time);
  ASSERT_EQ(std::filesystem::file_size(p03), size);
  viewer.Run(&TForm1::Action14NextExecute);

  ViewerFixture fresh;
  fresh.Show(QSize(400, 300));
  fresh.Open(paths[2]);
  ExpectSame(Capture(fresh), Capture(viewer), "rewritten page");
}

TEST(ReadAheadTest, AFileDeletedAfterItWasReadAheadShowsItsErrorAtTheTurn) {
  SettledViewer settled;
  ViewerFixture& viewer = settled.viewer;
  const Screen before = Capture(viewer);
  std::filesystem::remove(viewer.PictureFolder() / "p03.png");
  viewer.Run(&TForm1::Action14NextExecute);
  const std::vector<QString> errors = viewer.dialogs.MessagesOf("ShowError");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(errors[0].startsWith("Cannot open picture \"p03.png\"")) << errors[0].toStdString();
  // The window keeps the previous spread; Next moved on all the same.
  EXPECT_EQ(BitmapDiff(before.picture, viewer.form1().DisplayedPicture()), "");
  EXPECT_EQ(viewer.Caption(), before.caption);
  EXPECT_EQ(viewer.form1().ndxR, 2);
}

TEST(ReadAheadTest, AReadAheadErrorShowsNothingUntilTheTurnReachesIt) {
  ViewerFixture viewer;
  const QStringList paths = viewer.WritePages(4, 30, 40);
  WriteBytes({'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'}, viewer.PictureFolder() / "p04.png");
  viewer.Show(QSize(400, 300));
  viewer.Open(paths.front());
  ReadAheadOf(viewer).WaitIdle();
  EXPECT_TRUE(viewer.dialogs.MessagesOf("ShowError").empty());
  // Nothing of the broken page was kept.
  const std::optional<FileIdentity> identity = IdentityOf(paths[3]);
  ASSERT_TRUE(identity);
  EXPECT_FALSE(ReadAheadOf(viewer).Store().Find(paths[3], *identity));

  viewer.Run(&TForm1::Action14NextExecute);
  const std::vector<QString> errors = viewer.dialogs.MessagesOf("ShowError");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(errors[0].startsWith("Cannot read picture \"p04.png\"")) << errors[0].toStdString();
  EXPECT_EQ(viewer.form1().ndxL, 3);  // set before the second page failed, as without read-ahead
}

TEST(ReadAheadTest, AResizeDecodesNothingAgain) {
  SettledViewer settled;
  ViewerFixture& viewer = settled.viewer;
  const DecodedPageStore& store = ReadAheadOf(viewer).Store();
  const auto kept = [&](const QString& path) { return store.Find(path, *IdentityOf(path)); };
  const std::shared_ptr<const TBitmap> first = kept(settled.paths[0]);
  const std::shared_ptr<const TBitmap> second = kept(settled.paths[1]);
  ASSERT_TRUE(first && second);
  viewer.SetClientSize(QSize(360, 280));
  EXPECT_TRUE(viewer.dialogs.MessagesOf("ShowError").empty());
  // The very pages decoded before: nothing was read again.
  EXPECT_EQ(kept(settled.paths[0]), first);
  EXPECT_EQ(kept(settled.paths[1]), second);
  ReadAheadOf(viewer).WaitIdle();
  // This spread, the next (p03 + p04) and the previous (p04 + p01): nothing more.
  EXPECT_EQ(store.Count(), 4);
}

TEST(ReadAheadTest, ClosingWhileWorkRunsWaitsForIt) {
  ViewerFixture viewer;
  const QStringList paths = viewer.WritePages(6, 900, 1200);
  viewer.Show(QSize(400, 300));
  viewer.Open(paths.front());
  viewer.Run(&TForm1::Action14NextExecute);  // the worker starts on the next spread
  viewer.form1().close();
  EXPECT_TRUE(TForm1Inspector::IsClosing(viewer.form1()));
  viewer.Run(&TForm1::Action14NextExecute);  // renders nothing once closing
  ReadAheadOf(viewer).WaitIdle();            // nothing left under way
  EXPECT_TRUE(viewer.dialogs.MessagesOf("ShowError").empty());
}

}  // namespace
}  // namespace kelpra::test

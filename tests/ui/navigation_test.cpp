// Page turning through the window: sequences of Next and Previous with their captions, swipes,
// rotation, the option toggles and the arrow-key assignment.
#include <gtest/gtest.h>

#include <QAction>
#include <QTimer>

#include "codecs/picture_loader.h"
#include "core/file_search.h"
#include "ui/image_control.h"
#include "ui_fixture.h"

namespace kelpra::test {
namespace {

struct Options {
  bool cyclic = true;
  bool turnSingle = false;
  bool single = false;
  bool half = false;
  bool swap = false;
};

struct Step {
  char command;         // 'O' opens the start page, 'N' Next, 'P' Previous
  const char* caption;  // without the counter
  int page;             // 1-based counter
  int half;             // expected Half, 0 when it does not matter
};

struct SequenceCase {
  const char* name;
  std::vector<QSize> pages;
  QSize client;
  Options options;
  int startPage;  // 1-based
  std::vector<Step> steps;
};

constexpr QSize kPortrait{30, 40};
constexpr QSize kScan{60, 40};
constexpr QSize kLandscapeWindow{400, 300};
constexpr QSize kPortraitWindow{300, 400};

void Apply(ViewerFixture& viewer, const Options& o) {
  viewer.SetOption(&TForm1::PM_Y, o.cyclic);
  viewer.SetOption(&TForm1::PM_1, o.turnSingle);
  viewer.SetOption(&TForm1::PM_S, o.single);
  viewer.SetOption(&TForm1::PM_H, o.half);
  viewer.SetOption(&TForm1::PM_W, o.swap);
  viewer.SetOption(&TForm1::PM_T, true);
}

QStringList WriteBook(ViewerFixture& viewer, const std::vector<QSize>& pages) {
  QStringList paths;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    paths << viewer.WritePage("p0" + std::to_string(i + 1) + ".png", pages[i].width(),
                              pages[i].height());
  }
  return paths;
}

class NavigationSequenceTest : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(NavigationSequenceTest, CaptionsFollowEachStep) {
  const SequenceCase& c = GetParam();
  ViewerFixture viewer;
  viewer.Show(c.client);
  Apply(viewer, c.options);
  const QStringList paths = WriteBook(viewer, c.pages);
  const int count = int(paths.size());
  int index = 0;
  for (const Step& step : c.steps) {
    SCOPED_TRACE(::testing::Message() << "step " << index++ << " '" << step.command << "'");
    switch (step.command) {
      case 'O':
        viewer.Open(paths[c.startPage - 1]);
        break;
      case 'N':
        viewer.Run(&TForm1::Action14NextExecute);
        break;
      case 'P':
        viewer.Run(&TForm1::Action15PreviousExecute);
        break;
    }
    EXPECT_EQ(viewer.Caption(), WithCounter(QString::fromUtf8(step.caption), step.page, count));
    EXPECT_EQ(viewer.form1().ndxR, step.page - 1);
    if (step.half) {
      EXPECT_EQ(TForm1Inspector::Half(viewer.form1()), step.half);
    }
  }
  EXPECT_TRUE(viewer.dialogs.messages.empty());
}

const std::vector<QSize> kFive(5, kPortrait);
const std::vector<QSize> kFour(4, kPortrait);
const std::vector<QSize> kThree(3, kPortrait);

INSTANTIATE_TEST_SUITE_P(
    Sequences, NavigationSequenceTest,
    ::testing::Values(SequenceCase{"FivePagesCyclic",
                                   kFive,
                                   kLandscapeWindow,
                                   {},
                                   1,
                                   {{'O', "[Kelpra] (p02.png + p01.png)", 1, 0},
                                    {'N', "[Kelpra] (p04.png + p03.png)", 3, 0},
                                    {'N', "[Kelpra] (p01.png + p05.png)", 5, 0},
                                    {'N', "[Kelpra] (p03.png + p02.png)", 2, 0}}},
                      SequenceCase{"FivePagesNotCyclicStopAtTheEnd",
                                   kFive,
                                   kLandscapeWindow,
                                   {.cyclic = false},
                                   1,
                                   {{'O', "[Kelpra] (p02.png + p01.png)", 1, 0},
                                    {'N', "[Kelpra] (p04.png + p03.png)", 3, 0},
                                    {'N', "[Kelpra] (p01.png + p05.png)", 5, 0},
                                    {'N', "[Kelpra] (p01.png + p05.png)", 5, 0}}},
                      SequenceCase{"FourPagesSecondStepWrapsWhateverCyclicSays",
                                   kFour,
                                   kLandscapeWindow,
                                   {.cyclic = false},
                                   1,
                                   {{'O', "[Kelpra] (p02.png + p01.png)", 1, 0},
                                    {'N', "[Kelpra] (p04.png + p03.png)", 3, 0},
                                    {'N', "[Kelpra] (p02.png + p01.png)", 1, 0}}},
                      SequenceCase{"TurnSinglePageStepsOnePageAfterASpread",
                                   kFour,
                                   kLandscapeWindow,
                                   {.turnSingle = true},
                                   1,
                                   {{'O', "[Kelpra] (p02.png + p01.png)", 1, 0},
                                    {'N', "[Kelpra] (p03.png + p02.png)", 2, 0},
                                    {'N', "[Kelpra] (p04.png + p03.png)", 3, 0}}},
                      SequenceCase{"PreviousStepsOnePageAfterASpreadAndWraps",
                                   kFour,
                                   kLandscapeWindow,
                                   {},
                                   3,
                                   {{'O', "[Kelpra] (p04.png + p03.png)", 3, 0},
                                    {'P', "[Kelpra] (p03.png + p02.png)", 2, 0},
                                    {'P', "[Kelpra] (p02.png + p01.png)", 1, 0},
                                    {'P', "[Kelpra] (p01.png + p04.png)", 4, 0}}},
                      SequenceCase{"PreviousAtTheFirstPageWithoutCyclicDoesNothing",
                                   kThree,
                                   kPortraitWindow,
                                   {.cyclic = false},
                                   1,
                                   {{'O', "[Kelpra] (p01.png) 30 x 40", 1, 0},
                                    {'P', "[Kelpra] (p01.png) 30 x 40", 1, 0},
                                    {'N', "[Kelpra] (p02.png) 30 x 40", 2, 0}}},
                      SequenceCase{"SinglePictureStepsOnePage",
                                   kThree,
                                   kLandscapeWindow,
                                   {.single = true},
                                   1,
                                   {{'O', "[Kelpra] (p01.png) 30 x 40", 1, 0},
                                    {'N', "[Kelpra] (p02.png) 30 x 40", 2, 0},
                                    {'N', "[Kelpra] (p03.png) 30 x 40", 3, 0},
                                    {'N', "[Kelpra] (p01.png) 30 x 40", 1, 0}}},
                      SequenceCase{"SwapLRPutsTheCurrentPageFirst",
                                   kThree,
                                   kLandscapeWindow,
                                   {.swap = true},
                                   1,
                                   {{'O', "[Kelpra] (p01.png + p02.png)", 1, 0},
                                    {'N', "[Kelpra] (p03.png + p01.png)", 3, 0}}},
                      SequenceCase{"LandscapeHalvesBetweenPortraitPages",
                                   {kPortrait, kScan, kPortrait},
                                   kLandscapeWindow,
                                   {.half = true},
                                   1,
                                   {{'O', "[Kelpra] (p01.png) 30 x 40", 1, 1},
                                    {'N', "[Kelpra] (p02.png) 60 x 40", 2, 1},
                                    {'N', "[Kelpra] (p02.png) 60 x 40", 2, 2},
                                    {'N', "[Kelpra] (p01.png + p03.png)", 3, 1},
                                    {'P', "[Kelpra] (p02.png) 60 x 40", 2, 2},
                                    {'P', "[Kelpra] (p02.png) 60 x 40", 2, 1},
                                    {'P', "[Kelpra] (p01.png) 30 x 40", 1, 2}}}),
    [](const auto& info) { return std::string(info.param.name); });

// The half read first is the right one, unless Swap LR is on.
TEST(NavigationTest, LandscapeHalvesAreShownInReadingOrder) {
  for (const bool swap : {false, true}) {
    SCOPED_TRACE(swap ? "Swap LR on" : "Swap LR off");
    ViewerFixture viewer;
    viewer.Show(kPortraitWindow);
    Apply(viewer, {.half = true, .swap = swap});
    viewer.SetOption(&TForm1::PM_T, false);
    const QString scan = viewer.WritePage("scan.png", 60, 40);
    TBitmap file;
    LoadFile(NativePath(scan), file);
    TBitmap left(30, 40), right(30, 40);
    left.StretchCopy({0, 0, 30, 40}, file, {0, 0, 30, 40});
    right.StretchCopy({0, 0, 30, 40}, file, {30, 0, 60, 40});

    viewer.Open(scan);
    EXPECT_EQ(BitmapDiff(swap ? left : right, viewer.form1().DisplayedPicture()), "");
    viewer.Run(&TForm1::Action14NextExecute);
    EXPECT_EQ(BitmapDiff(swap ? right : left, viewer.form1().DisplayedPicture()), "");
  }
}

TEST(NavigationTest, ArrowKeysFollowSwapLR) {
  ViewerFixture viewer;
  viewer.Show(kLandscapeWindow);
  TForm1& form = viewer.form1();
  EXPECT_EQ(TForm1Inspector::NextPicKey(form), 39) << "right after the start";
  EXPECT_EQ(TForm1Inspector::PrevPicKey(form), 37);
  const struct {
    bool swapAfter;
    int next, prev;
  } toggles[] = {{true, 37, 39}, {false, 39, 37}, {true, 37, 39}};
  for (const auto& t : toggles) {
    viewer.Run(&TForm1::Action06SwapLRExecute);
    EXPECT_EQ(form.PM_W->isChecked(), t.swapAfter);
    EXPECT_EQ(form.MM_SW->isChecked(), t.swapAfter);
    EXPECT_EQ(TForm1Inspector::NextPicKey(form), t.next);
    EXPECT_EQ(TForm1Inspector::PrevPicKey(form), t.prev);
  }
}

TEST(NavigationTest, SwipesTurnByDirectionOnlyWithStretch) {
  const struct {
    bool stretch, swap;
    void (TForm1::*command)();
    int expectedIndex;  // from index 2
  } cases[] = {
      {true, false, &TForm1::Action21LeftExecute, 1},
      {true, false, &TForm1::Action22RightExecute, 3},
      {true, true, &TForm1::Action21LeftExecute, 3},
      {true, true, &TForm1::Action22RightExecute, 1},
      {false, false, &TForm1::Action21LeftExecute, 2},
      {false, true, &TForm1::Action22RightExecute, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "stretch " << c.stretch << " swap " << c.swap
                                      << " expected " << c.expectedIndex);
    ViewerFixture viewer;
    viewer.Show(kPortraitWindow);
    const QStringList paths = viewer.WritePages(5, 30, 40);
    Apply(viewer, {.swap = c.swap});
    viewer.SetOption(&TForm1::PM_T, c.stretch);
    viewer.Open(paths[2]);
    viewer.Run(c.command);
    EXPECT_EQ(viewer.form1().ndxR, c.expectedIndex);
  }
}

TEST(NavigationTest, RotationCommandsTurnTheOrientationAndRender) {
  ViewerFixture viewer;
  viewer.Show(kPortraitWindow);
  viewer.SetOption(&TForm1::PM_T, false);
  viewer.Open(viewer.WritePage("p.png", 30, 40));
  TForm1& form = viewer.form1();
  QString& direction = viewer.form2().Direction;
  const struct {
    void (TForm1::*command)();
    const char* before;
    const char* after;
  } steps[] = {
      {&TForm1::Action18RotateLExecute, "UP", "LEFT"},
      {&TForm1::Action18RotateLExecute, "LEFT", "DOWN"},
      {&TForm1::Action18RotateLExecute, "DOWN", "RIGHT"},
      {&TForm1::Action18RotateLExecute, "RIGHT", "UP"},
      {&TForm1::Action19RotateRExecute, "UP", "RIGHT"},
      {&TForm1::Action19RotateRExecute, "RIGHT", "DOWN"},
      {&TForm1::Action19RotateRExecute, "DOWN", "LEFT"},
      {&TForm1::Action19RotateRExecute, "LEFT", "UP"},
      {&TForm1::Action19RotateRExecute, "up", "up"},  // not one of the four: left alone
      {&TForm1::Action18RotateLExecute, "Up", "Up"},
      {&TForm1::Action20UprightExecute, "DOWN", "UP"},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.before);
    direction = QString::fromLatin1(s.before);
    viewer.Run(s.command);
    EXPECT_EQ(direction, QString::fromLatin1(s.after));
    const bool quarter = direction == QLatin1String("LEFT") || direction == QLatin1String("RIGHT");
    EXPECT_EQ(form.Image1->Bounds().size(), quarter ? QSize(40, 30) : QSize(30, 40)) << "rendered";
  }
}

TEST(NavigationTest, GestureRotationsActOnlyWithStretch) {
  for (const bool stretch : {true, false}) {
    ViewerFixture viewer;
    viewer.Show(kPortraitWindow);
    viewer.SetOption(&TForm1::PM_T, stretch);
    viewer.Run(&TForm1::Action26UpLeftExecute);
    EXPECT_EQ(viewer.form2().Direction, stretch ? "LEFT" : "UP");
    viewer.Run(&TForm1::Action27UpRightExecute);
    viewer.Run(&TForm1::Action27UpRightExecute);
    EXPECT_EQ(viewer.form2().Direction, stretch ? "RIGHT" : "UP");
    viewer.form2().Direction = QStringLiteral("DOWN");
    viewer.Run(&TForm1::Action28UpDownExecute);
    EXPECT_EQ(viewer.form2().Direction, stretch ? "UP" : "DOWN");
  }
}

// Every toggle flips its popup item, mirrors it, renders or not, and re-arms the timer or not.
struct ToggleCase {
  const char* name;
  void (TForm1::*command)();
  QAction* TForm1::*popup;
  QAction* TForm1::*mainMenu;  // null for Cyclic
  bool renders;
  bool rearms;
};

class OptionToggleTest : public ::testing::TestWithParam<ToggleCase> {};

TEST_P(OptionToggleTest, FlipsMirrorsRendersAndRearms) {
  const ToggleCase& c = GetParam();
  ViewerFixture viewer;
  viewer.Show(kLandscapeWindow);
  const QStringList paths = viewer.WritePages(3, 30, 40);
  viewer.Open(paths[0]);
  TForm1& form = viewer.form1();
  // Auto-turn paused, as the popup menu leaves it.
  form.Action30AutoTurn->setChecked(true);
  form.Timer1->stop();
  for (int round = 0; round < 2; ++round) {
    const bool before = (form.*c.popup)->isChecked();
    form.setWindowTitle(QStringLiteral("sentinel"));
    form.Timer1->stop();
    viewer.Run(c.command);
    EXPECT_EQ((form.*c.popup)->isChecked(), !before);
    if (c.mainMenu) {
      EXPECT_EQ((form.*c.mainMenu)->isChecked(), !before);
    }
    EXPECT_EQ(viewer.Caption() != QLatin1String("sentinel"), c.renders);
    EXPECT_EQ(form.Timer1->isActive(), c.rearms);
  }
  EXPECT_TRUE(viewer.dialogs.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Toggles, OptionToggleTest,
    ::testing::Values(ToggleCase{"SinglePicture", &TForm1::Action04ShowSingleExecute, &TForm1::PM_S,
                                 &TForm1::MM_SS, true, true},
                      ToggleCase{"TurnSinglePage", &TForm1::Action05TurnSingleExecute,
                                 &TForm1::PM_1, &TForm1::MM_S1, false, true},
                      ToggleCase{"SwapLR", &TForm1::Action06SwapLRExecute, &TForm1::PM_W,
                                 &TForm1::MM_SW, true, true},
                      ToggleCase{"Subdirectories", &TForm1::Action07SubdirectoriesExecute,
                                 &TForm1::PM_R, &TForm1::MM_SR, false, true},
                      ToggleCase{"Stretch", &TForm1::Action08StretchExecute, &TForm1::PM_T,
                                 &TForm1::MM_ST, true, true},
                      ToggleCase{"Splitter", &TForm1::Action09SplitterExecute, &TForm1::PM_L,
                                 &TForm1::MM_SL, true, true},
                      ToggleCase{"LandscapeHalf", &TForm1::Action23HalfExecute, &TForm1::PM_H,
                                 &TForm1::MM_SH, true, true},
                      ToggleCase{"Cyclic", &TForm1::PM_YClick, &TForm1::PM_Y, nullptr, false,
                                 false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NavigationTest, SinglePictureEnablesTheDeleteItems) {
  ViewerFixture viewer;
  viewer.Show(kLandscapeWindow);
  TForm1& form = viewer.form1();
  viewer.SetOption(&TForm1::PM_S, false);
  for (const bool on : {true, false}) {
    viewer.Run(&TForm1::Action04ShowSingleExecute);
    EXPECT_EQ(form.PM_Z->isEnabled(), on);
    EXPECT_EQ(form.MM_FZ->isEnabled(), on);
  }
}

TEST(NavigationTest, LandscapeHalfToggleStartsAtTheFirstHalf) {
  ViewerFixture viewer;
  viewer.Show(kPortraitWindow);
  viewer.SetOption(&TForm1::PM_H, false);
  viewer.Open(viewer.WritePage("scan.png", 60, 40));
  TForm1Inspector::SetHalf(viewer.form1(), 2);
  viewer.Run(&TForm1::Action23HalfExecute);
  EXPECT_EQ(TForm1Inspector::Half(viewer.form1()), 1);
}

TEST(NavigationTest, SubdirectoriesToggleRebuildsTheListAroundTheOpenedFile) {
  ViewerFixture viewer;
  viewer.Show(kPortraitWindow);
  viewer.SetOption(&TForm1::PM_R, false);
  const QStringList top = viewer.WritePages(2, 30, 40);
  viewer.WritePage("sub/a.png", 30, 40);
  viewer.Open(top[1]);
  viewer.Run(&TForm1::Action14NextExecute);  // the page on screen moves away from the file
  ASSERT_EQ(viewer.form1().ndxR, 0);
  const QString caption = viewer.Caption();

  viewer.Run(&TForm1::Action07SubdirectoriesExecute);
  EXPECT_EQ(viewer.form1().FileList.Count(), 3);
  EXPECT_EQ(viewer.form1().ndxR, 1) << "the opened file is current again";
  EXPECT_EQ(viewer.Caption(), caption) << "nothing rendered";
}

TEST(NavigationTest, UnreadableScanStopsTheHalfTestBeforeThePageMoves) {
  ViewerFixture viewer;
  viewer.Show(kPortraitWindow);
  const QStringList paths = viewer.WritePages(3, 30, 40);
  viewer.Open(paths[1]);
  viewer.SetOption(&TForm1::PM_H, true);
  WriteBytes({'G', 'I', 'F'}, NativePath(paths[1]));
  viewer.Run(&TForm1::Action14NextExecute);
  EXPECT_EQ(viewer.dialogs.MessagesOf("ShowError").size(), 1u);
  EXPECT_EQ(viewer.form1().ndxR, 1);
  viewer.SetOption(&TForm1::PM_H, false);
  viewer.Run(&TForm1::Action14NextExecute);
  EXPECT_EQ(viewer.form1().ndxR, 2);
  EXPECT_EQ(viewer.Caption(), WithCounter(QStringLiteral("[Kelpra] (p03.png) 30 x 40"), 3, 3));
}

}  // namespace
}  // namespace kelpra::test

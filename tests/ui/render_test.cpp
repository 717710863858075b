// What the window shows after a rendering: the idle canvas, one page, a spread, an error, and the
// centring of a picture shown at its own size.
#include <gtest/gtest.h>

#include <QAction>

#include "codecs/picture_loader.h"
#include "core/file_search.h"
#include "ui/image_control.h"
#include "ui_fixture.h"

namespace kelpra::test {
namespace {

QString IdleCaption() {
  return QStringLiteral("[Kelpra]  ") + QString::fromUtf8(Version1);
}

bool IsColor(const TBitmap& bmp, int x, int y, TColor color) {
  const std::uint8_t* p = bmp.ScanLine(y) + 3 * x;
  return p[0] == GetBValue(color) && p[1] == GetGValue(color) && p[2] == GetRValue(color);
}

TEST(RenderTest, IdleCanvasFillsTheClientAreaWithTheCentredTitle) {
  ViewerFixture viewer;
  viewer.Show(QSize(400, 300));
  TForm1& form = viewer.form1();
  EXPECT_EQ(viewer.Caption(), IdleCaption());
  EXPECT_EQ(form.Image1->Bounds(), QRect(0, 0, 400, 300));
  const TBitmap& canvas = form.DisplayedPicture();
  ASSERT_EQ(canvas.Width(), 400);
  ASSERT_EQ(canvas.Height(), 300);
  ASSERT_EQ(canvas.PixelFormat(), pf24bit);

  // The title's ink lies around the middle; everything else is the window colour.
  int left = 400, right = -1, top = 300, bottom = -1;
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 400; ++x) {
      if (IsColor(canvas, x, y, BackGroundL))
        continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  ASSERT_GE(right, 0) << "no title drawn";
  EXPECT_NEAR((left + right) / 2.0, 200.0, 4.0);
  EXPECT_NEAR((top + bottom) / 2.0, 150.0, 10.0);
  EXPECT_GT(bottom - top, 14) << "24 points is larger than this";
}

TEST(RenderTest, IdleCanvasFollowsTheClientSizeAndLeavesTheCaption) {
  ViewerFixture viewer;
  viewer.Show(QSize(400, 300));
  viewer.form1().setWindowTitle(QStringLiteral("kept"));
  viewer.SetClientSize(QSize(260, 380));
  EXPECT_EQ(viewer.form1().Image1->Bounds(), QRect(0, 0, 260, 380));
  EXPECT_EQ(viewer.form1().DisplayedPicture().Width(), 260);
  EXPECT_EQ(viewer.Caption(), QStringLiteral("kept"));
}

// Captions of a first rendering: pages of the given sizes, the first one opened.
struct CaptionCase {
  const char* name;
  std::vector<QSize> pages;
  QSize client;
  bool twoPics;
  const char* caption;  // without the counter
  int count;
};

class RenderCaptionTest : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(RenderCaptionTest, CaptionAndCounterAreExact) {
  const CaptionCase& c = GetParam();
  ViewerFixture viewer;
  viewer.Show(c.client);
  QStringList paths;
  for (std::size_t i = 0; i < c.pages.size(); ++i) {
    paths << viewer.WritePage("p0" + std::to_string(i + 1) + ".png", c.pages[i].width(),
                              c.pages[i].height());
  }
  viewer.Open(paths.first());
  EXPECT_TRUE(viewer.dialogs.messages.empty());
  EXPECT_EQ(viewer.Caption(), WithCounter(QString::fromUtf8(c.caption), 1, c.count));
  EXPECT_EQ(TForm1Inspector::TwoPics(viewer.form1()), c.twoPics);
}

INSTANTIATE_TEST_SUITE_P(Pages, RenderCaptionTest,
                         ::testing::Values(CaptionCase{"OnePageInALandscapeWindow",
                                                       {{30, 40}},
                                                       {400, 300},
                                                       false,
                                                       "[Kelpra] (p01.png) 30 x 40",
                                                       1},
                                           CaptionCase{"PortraitWindowShowsOnePage",
                                                       {{30, 40}, {30, 40}},
                                                       {300, 400},
                                                       false,
                                                       "[Kelpra] (p01.png) 30 x 40",
                                                       2},
                                           CaptionCase{"SquareWindowShowsOnePage",
                                                       {{30, 40}, {30, 40}},
                                                       {300, 300},
                                                       false,
                                                       "[Kelpra] (p01.png) 30 x 40",
                                                       2},
                                           CaptionCase{"SpreadNamesTheFollowingPageFirst",
                                                       {{30, 40}, {32, 44}, {30, 40}},
                                                       {400, 300},
                                                       true,
                                                       "[Kelpra] (p02.png + p01.png)",
                                                       3},
                                           CaptionCase{"LandscapePartnerShowsOnePage",
                                                       {{30, 40}, {60, 40}},
                                                       {400, 300},
                                                       false,
                                                       "[Kelpra] (p01.png) 30 x 40",
                                                       2},
                                           CaptionCase{"SquarePageIsNeverPartOfASpread",
                                                       {{40, 40}, {30, 40}},
                                                       {400, 300},
                                                       false,
                                                       "[Kelpra] (p01.png) 40 x 40",
                                                       2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RenderTest, LongCaptionGetsTwoSpacesBeforeTheCounter) {
  ViewerFixture viewer;
  viewer.Show(QSize(300, 400));
  const std::string name = "a_rather_long_file_name_for_a_page_of_a_book.png";
  viewer.Open(viewer.WritePage(name, 30, 40));
  EXPECT_EQ(viewer.Caption(),
            QStringLiteral("[Kelpra] (") + QString::fromStdString(name) + ") 30 x 40  1/1");
}

TEST(RenderTest, UnreadablePageKeepsThePreviousPictureAndCaption) {
  ViewerFixture viewer;
  viewer.Show(QSize(300, 400));
  const QStringList paths = viewer.WritePages(2, 30, 40);
  WriteBytes({'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'}, NativePath(paths[1]));
  viewer.Open(paths[0]);
  const QString caption = viewer.Caption();
  const TBitmap before = viewer.form1().DisplayedPicture();

  viewer.Run(&TForm1::Action14NextExecute);
  ASSERT_EQ(viewer.dialogs.MessagesOf("ShowError").size(), 1u);
  EXPECT_EQ(viewer.Caption(), caption);
  EXPECT_EQ(BitmapDiff(before, viewer.form1().DisplayedPicture()), "");
  EXPECT_EQ(viewer.form1().ndxR, 1) << "the command's own step stays";
  // The page that failed never reached the open dialog.
  EXPECT_EQ(TForm1Inspector::OpenDialogFileName(viewer.form1()), QStringLiteral("p01.png"));
}

TEST(RenderTest, UnreadablePartnerKeepsThePictureButUpdatesTheSecondIndex) {
  ViewerFixture viewer;
  viewer.Show(QSize(400, 300));
  const QStringList paths = viewer.WritePages(3, 30, 40);
  viewer.Open(paths[0]);
  ASSERT_EQ(viewer.form1().ndxL, 1);
  const QString caption = viewer.Caption();
  WriteBytes({'B', 'M', 0, 0}, NativePath(paths[0]));  // the partner of page 3

  viewer.Run(&TForm1::Action14NextExecute);  // to the spread of 3 and 1
  ASSERT_EQ(viewer.dialogs.MessagesOf("ShowError").size(), 1u);
  EXPECT_EQ(viewer.Caption(), caption);
  EXPECT_EQ(viewer.form1().ndxR, 2);
  EXPECT_EQ(viewer.form1().ndxL, 0);
  EXPECT_EQ(TForm1Inspector::OpenDialogFileName(viewer.form1()), QStringLiteral("p03.png"));
  EXPECT_TRUE(TForm1Inspector::TwoPics(viewer.form1()));
}

// With Stretch off the control is as large as the picture, centred, clipped when larger.
struct CentringCase {
  QSize picture;
  QRect expected;
};

class StretchOffCentringTest : public ::testing::TestWithParam<CentringCase> {};

TEST_P(StretchOffCentringTest, ControlIsCentredWithTruncation) {
  const CentringCase& c = GetParam();
  ViewerFixture viewer;
  viewer.Show(QSize(301, 400));
  viewer.SetOption(&TForm1::PM_T, false);
  const QString path = viewer.WritePage("p.png", c.picture.width(), c.picture.height());
  viewer.Open(path);
  EXPECT_EQ(viewer.form1().Image1->Bounds(), c.expected);
  TBitmap file;
  LoadFile(NativePath(path), file);
  EXPECT_EQ(BitmapDiff(file, viewer.form1().DisplayedPicture()), "") << "shown at its own size";
}

INSTANTIATE_TEST_SUITE_P(Sizes, StretchOffCentringTest,
                         ::testing::Values(CentringCase{{100, 200}, {100, 100, 100, 200}},
                                           CentringCase{{60, 41}, {120, 179, 60, 41}},
                                           CentringCase{{500, 900}, {-99, -250, 500, 900}},
                                           CentringCase{{301, 400}, {0, 0, 301, 400}}));

TEST(RenderTest, StretchOnFitsThePictureToTheClientArea) {
  ViewerFixture viewer;
  viewer.Show(QSize(300, 400));
  viewer.SetOption(&TForm1::PM_T, true);
  viewer.Open(viewer.WritePage("p.png", 30, 40));
  TForm1& form = viewer.form1();
  EXPECT_EQ(form.Image1->Bounds(), QRect(0, 0, 300, 400));
  EXPECT_EQ(form.DisplayedPicture().Width(), 300);
  EXPECT_EQ(form.DisplayedPicture().Height(), 400);
}

}  // namespace
}  // namespace kelpra::test

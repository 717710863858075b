// On a screen whose pixels are smaller than Qt's logical ones (a scale factor of 1.5 or 2): the
// page is fitted to the client area in device pixels and drawn one bitmap pixel to one screen
// pixel, the idle title is drawn at the screen's real resolution, pans move by device pixels and
// Save writes what is shown. ctest runs these tests again with QT_SCALE_FACTOR set.
#include <gtest/gtest.h>

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTest>

#include "codecs/picture_loader.h"
#include "core/file_search.h"
#include "core/page_composer.h"
#include "ui/image_control.h"
#include "ui_fixture.h"

namespace kelpra::test {
namespace {

// A client size that every scale factor the tests run at can give exactly.
constexpr QSize kClient(600, 450);

// The window's device pixel ratio, which must be the scale factor the test was started with.
qreal Ratio(TForm1& form) {
  const qreal ratio = form.devicePixelRatioF();
  if (const QByteArray scale = qgetenv("QT_SCALE_FACTOR"); !scale.isEmpty()) {
    EXPECT_EQ(ratio, scale.toDouble()) << "the scale factor did not apply";
  }
  return ratio;
}

// The client area as drawn on the screen, in device pixels.
QImage ScreenOfClient(TForm1& form) {
  return form.centralWidget()->grab().toImage().convertToFormat(QImage::Format_RGB888);
}

// Where the picture differs from what the screen shows at offset (left, top), or "".
std::string ScreenDiff(const TBitmap& picture, const QImage& screen, QPoint offset) {
  for (int y = 0; y < picture.Height(); ++y) {
    const std::uint8_t* row = picture.ScanLine(y);
    for (int x = 0; x < picture.Width(); ++x) {
      const QPoint at = offset + QPoint(x, y);
      if (!screen.rect().contains(at))
        return "pixel " + std::to_string(x) + "," + std::to_string(y) + " is off the screen";
      const std::uint8_t* shown = screen.constScanLine(at.y()) + 3 * at.x();
      // Bitmap rows are blue, green, red; the screen's red, green, blue.
      if (shown[0] != row[3 * x + 2] || shown[1] != row[3 * x + 1] || shown[2] != row[3 * x]) {
        return "pixel " + std::to_string(x) + "," + std::to_string(y) + " differs on the screen";
      }
    }
  }
  return "";
}

// Shows the window with the client size on the first of count pages of one size.
TForm1& ShowPages(ViewerFixture& viewer, int count, int width, int height) {
  const QStringList pages = viewer.WritePages(count, width, height);
  viewer.Show(kClient, {pages[0]});
  TForm1& form = viewer.form1();
  Ratio(form);
  return form;
}

TEST(HiDpi, PageIsFittedToTheDevicePixelsAndDrawnOneToOne) {
  ViewerFixture viewer;
  TForm1& form = ShowPages(viewer, 2, 333, 517);
  ASSERT_EQ(form.ClientSize(), kClient);
  EXPECT_EQ(form.centralWidget()->width(), qRound(kClient.width() / Ratio(form)));

  // The spread as it would be rendered for a client area of that many pixels.
  PageRequest request;
  request.files = &form.FileList;
  request.ndxR = 0;
  request.effects = viewer.form2().Effects();
  request.clientWidth = kClient.width();
  request.clientHeight = kClient.height();
  PageResult expected;
  ComposePage(request, expected);
  ASSERT_EQ(BitmapDiff(expected.picture, form.DisplayedPicture()), "");
  EXPECT_EQ(form.Image1->Bounds(), QRect(QPoint(0, 0), kClient));

  const QRect drawn = form.Image1->DrawnRect();
  EXPECT_EQ(drawn.size(), QSize(expected.picture.Width(), expected.picture.Height()));
  EXPECT_EQ(ScreenDiff(form.DisplayedPicture(), ScreenOfClient(form), drawn.topLeft()), "");
}

TEST(HiDpi, APictureShownAtItsOwnSizeKeepsEveryPixelAndPansByDevicePixels) {
  ViewerFixture viewer;
  viewer.Show(kClient);
  viewer.SetOption(&TForm1::PM_T, false);  // Stretch off: the picture at its own size
  const QString path = viewer.WritePage("big.png", 701, 509);
  viewer.Open(path);
  TForm1& form = viewer.form1();
  TBitmap file;
  LoadFile(NativePath(path), file);
  ASSERT_EQ(BitmapDiff(file, form.DisplayedPicture()), "");
  // Centred by truncating division, in device pixels: (600 - 701) / 2 and (450 - 509) / 2.
  const QRect centred(-50, -29, 701, 509);
  ASSERT_EQ(form.Image1->Bounds(), centred);

  // Every pixel of the window shows a pixel of the picture at its place.
  const QImage screen = ScreenOfClient(form);
  ASSERT_EQ(screen.size(), kClient);
  TBitmap visible(600, 450);
  for (int y = 0; y < 450; ++y)
    std::copy_n(file.ScanLine(y + 29) + 3 * 50, 3 * 600, visible.ScanLine(y));
  EXPECT_EQ(ScreenDiff(visible, screen, QPoint(0, 0)), "");

  // A drag of 20 logical pixels to the right and 10 down moves the picture by as many device
  // pixels as the pointer crossed.
  const QPoint from(100, 100);
  const QPoint to(120, 110);
  QTest::mousePress(&form, Qt::LeftButton, {}, from);
  QTest::mouseRelease(&form, Qt::LeftButton, {}, to);
  const qreal ratio = Ratio(form);
  const QPoint moved(qRound(to.x() * ratio) - qRound(from.x() * ratio),
                     qRound(to.y() * ratio) - qRound(from.y() * ratio));
  EXPECT_EQ(form.Image1->Bounds(), centred.translated(moved));

  // C centres it again.
  QTest::keyClick(&form, Qt::Key_C);
  LetKeyReleasesAct(form);
  EXPECT_EQ(form.Image1->Bounds(), centred);
}

TEST(HiDpi, IdleTitleIsDrawnAtTheScreensRealResolution) {
  ViewerFixture viewer;
  viewer.Show(kClient);
  TForm1& form = viewer.form1();
  const TBitmap& canvas = form.DisplayedPicture();
  ASSERT_EQ(canvas.Width(), kClient.width());
  ASSERT_EQ(canvas.Height(), kClient.height());
  int top = kClient.height(), bottom = -1;
  for (int y = 0; y < canvas.Height(); ++y) {
    const std::uint8_t* row = canvas.ScanLine(y);
    for (int x = 0; x < canvas.Width(); ++x) {
      const std::uint8_t* p = row + 3 * x;
      if (p[0] != GetBValue(BackGroundL) || p[1] != GetGValue(BackGroundL) ||
          p[2] != GetRValue(BackGroundL)) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  }
  ASSERT_GE(bottom, 0) << "no title drawn";
  // 24 points at 96 dots per inch of logical resolution are 32 logical pixels: the ink of
  // "Kelpra", from the top of the K to the foot of the p, is most of that, in device pixels.
  EXPECT_GT(bottom - top, 24 * Ratio(form));
  EXPECT_LT(bottom - top, 40 * Ratio(form));
  // Drawn on the screen as it is.
  EXPECT_EQ(ScreenDiff(canvas, ScreenOfClient(form), QPoint(0, 0)), "");
}

TEST(HiDpi, SaveWritesThePictureAsShownOnTheScreen) {
  ViewerFixture viewer;
  TForm1& form = ShowPages(viewer, 1, 300, 420);
  const QString target = ToQString(viewer.temp / "saved.bmp");
  viewer.dialogs.saveAnswers = {target};
  viewer.Run(&TForm1::Action29SaveExecute);
  ASSERT_TRUE(viewer.dialogs.messages.empty());
  TBitmap saved;
  LoadFile(NativePath(target), saved);
  EXPECT_EQ(saved.Height(), kClient.height()) << "fitted to the device pixels";
  EXPECT_EQ(BitmapDiff(form.DisplayedPicture(), saved), "");
}

}  // namespace
}  // namespace kelpra::test

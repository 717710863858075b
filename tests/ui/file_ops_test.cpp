// Delete, Save and WallPaper through the window, with scripted dialogs and a recording desktop.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include "codecs/picture_loader.h"
#include "core/file_names.h"
#include "core/file_search.h"
#include "platform/linux/gnome_wallpaper.h"
#include "support/scoped_env.h"
#include "ui/image_control.h"
#include "ui_fixture.h"

namespace kelpra::test {
namespace {

using Inspector = TForm1Inspector;

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A viewer of count pages shown single, with the given page current.
void ShowPages(ViewerFixture& viewer, int count, int current) {
  const QStringList pages = viewer.WritePages(count, 30, 40);
  viewer.Show(QSize(300, 200), {pages[current]});
  Inspector::SetOption(viewer.form1(), viewer.form1().PM_S, true);
}

TEST(DeleteTest, RemovesTheFileAndShowsThePageThatTakesItsPlace) {
  struct Case {
    int count, current;
    int expectedNdxR;
  };
  // The last of five: the fourth becomes current. The first of three: the next moves in.
  // The only page: the list empties.
  for (const Case c : {Case{5, 4, 3}, Case{3, 0, 0}, Case{1, 0, -1}}) {
    SCOPED_TRACE(c.count * 10 + c.current);
    ViewerFixture viewer;
    ShowPages(viewer, c.count, c.current);
    TForm1& f = viewer.form1();
    const QString victim = f.FileList[c.current];
    Inspector::SetHalf(f, 2);
    viewer.dialogs.yesNoAnswers = {true};
    f.Action24DeleteExecute();

    EXPECT_EQ(viewer.dialogs.MessagesOf("ConfirmYesNo"),
              std::vector<QString>{"削除していいですね？ : " + ExtractFileName(victim)});
    EXPECT_FALSE(QFileInfo::exists(victim));
    EXPECT_EQ(f.FileList.Count(), c.count - 1);
    EXPECT_EQ(f.FileList.IndexOf(victim), -1);
    EXPECT_EQ(f.ndxR, c.expectedNdxR);
    EXPECT_EQ(Inspector::Half(f), 1);
    if (c.expectedNdxR >= 0) {
      EXPECT_TRUE(viewer.Caption().contains(ExtractFileName(f.FileList[f.ndxR])))
          << viewer.Caption().toStdString();
    } else {
      EXPECT_EQ(f.DisplayedPicture().Width(), f.ClientSize().width()) << "the idle canvas";
      EXPECT_EQ(f.DisplayedPicture().Height(), f.ClientSize().height());
    }
  }
}

TEST(DeleteTest, NoOrAVanishedFileChangesNothing) {
  ViewerFixture viewer;
  ShowPages(viewer, 3, 1);
  TForm1& f = viewer.form1();
  const QString current = f.FileList[1];

  viewer.dialogs.yesNoAnswers = {false};
  f.Action24DeleteExecute();
  EXPECT_TRUE(QFileInfo::exists(current));
  EXPECT_EQ(f.FileList.Count(), 3);
  EXPECT_EQ(f.ndxR, 1);

  ASSERT_TRUE(QFile::remove(current));  // another program removes it
  viewer.dialogs.yesNoAnswers = {true};
  f.Action24DeleteExecute();
  EXPECT_EQ(viewer.dialogs.MessagesOf("ConfirmYesNo").size(), 1u) << "no second question";
  EXPECT_EQ(f.FileList.Count(), 3);
  EXPECT_EQ(f.ndxR, 1);
}

// Sets or clears the immutable attribute, which keeps even root from deleting the file.
bool SetImmutable(const QString& path, bool on) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
  if (fd < 0)
    return false;
  int flags = 0;
  bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
  ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  ::close(fd);
  return ok;
}

TEST(DeleteTest, AFailedDeletionIsReportedAndTheListKept) {
  ViewerFixture viewer;
  ShowPages(viewer, 2, 0);
  TForm1& f = viewer.form1();
  const QString victim = f.FileList[0];
  if (!SetImmutable(victim, true))
    GTEST_SKIP() << "the file system cannot make a file undeletable here";
  viewer.dialogs.yesNoAnswers = {true};
  f.Action24DeleteExecute();
  SetImmutable(victim, false);
  EXPECT_EQ(viewer.dialogs.MessagesOf("ConfirmOk"),
            std::vector<QString>{"削除できませんでした : p01.png"});
  EXPECT_EQ(f.FileList.Count(), 2);
  EXPECT_EQ(f.ndxR, 0);
  EXPECT_TRUE(QFileInfo::exists(victim));
}

TEST(DeleteTest, DeleteAndSaveRearmTheTimerAfterTheDialog) {
  ViewerFixture viewer;
  ShowPages(viewer, 2, 0);
  TForm1& f = viewer.form1();
  f.Action30AutoTurn->setChecked(true);  // the popup menu paused it
  f.Timer1->stop();
  viewer.dialogs.yesNoAnswers = {false};
  f.Action24DeleteExecute();
  EXPECT_TRUE(f.Timer1->isActive());

  f.Timer1->stop();
  f.Action29SaveExecute();  // cancelled
  EXPECT_TRUE(f.Timer1->isActive());

  f.Timer1->stop();
  viewer.dialogs.saveAnswers = {ToQString(viewer.temp / "no such folder" / "x.bmp")};
  f.Action29Save->trigger();  // the write fails: reported, and still re-armed
  EXPECT_EQ(viewer.dialogs.MessagesOf("ShowError").size(), 1u);
  EXPECT_TRUE(f.Timer1->isActive());
}

TEST(SaveTest, WritesTheDisplayedPictureAsBmpWhateverTheName) {
  ViewerFixture viewer;
  ShowPages(viewer, 2, 1);
  TForm1& f = viewer.form1();
  const QString target = ToQString(viewer.temp / "x.png");
  viewer.dialogs.saveAnswers = {target};
  f.Action29SaveExecute();

  ASSERT_EQ(viewer.dialogs.opened.size(), 1u);
  const FakeDialogs::Opened& dialog = viewer.dialogs.opened[0];
  EXPECT_EQ(dialog.kind, "SavePicture");
  EXPECT_EQ(dialog.folder, ToQString(viewer.PictureFolder()));
  EXPECT_EQ(dialog.fileName, "p02.png");
  EXPECT_EQ(dialog.filter, QString::fromUtf8(PictureFilter));
  EXPECT_EQ(dialog.defaultExtension, ".jpg");

  EXPECT_TRUE(ReadAll(target).startsWith("BM"));
  TBitmap back;
  LoadFile(NativePath(target), back);
  EXPECT_EQ(BitmapDiff(f.DisplayedPicture(), back), "");
  EXPECT_EQ(f.FileList.Count(), 2) << "the list is not changed";
}

TEST(SaveTest, AVanishedPageOpensNoDialog) {
  ViewerFixture viewer;
  ShowPages(viewer, 2, 0);
  ASSERT_TRUE(QFile::remove(viewer.form1().FileList[0]));
  viewer.form1().Action29SaveExecute();
  EXPECT_TRUE(viewer.dialogs.opened.empty());
}

// Names from old archives are not UTF-8: each file is listed, shown, deleted and saved beside by
// its own bytes, and two such names stay two pages.
TEST(FileNamesTest, NamesThatAreNotUtf8ListOpenDeleteAndSave) {
  ViewerFixture viewer;
  const std::filesystem::path folder = viewer.PictureFolder("caf\xe9");
  const std::string names[] = {"a\xe9.png", "a\xe8.png", "\x83\x65\x83\x58\x83\x67.png"};
  for (int i = 0; i < 3; ++i)
    WritePicture(MakePicture(30 + i, 40, i), folder / names[i]);
  const QString first = ToQString(folder / names[0]);
  viewer.Show(QSize(300, 200), {first});
  TForm1& f = viewer.form1();
  Inspector::SetOption(f, f.PM_S, true);

  ASSERT_EQ(f.FileList.Count(), 3);
  EXPECT_EQ(f.FileList[f.ndxR], first);
  f.ReadFiles();
  EXPECT_TRUE(
      viewer.Caption().startsWith(QString::fromUtf8("[Kelpra] (a\xef\xbf\xbd.png) 30 x 40")))
      << viewer.Caption().toStdString();
  EXPECT_TRUE(viewer.dialogs.MessagesOf("ShowError").empty());

  const std::filesystem::path copy = folder / "copy \xe9.bmp";
  viewer.dialogs.saveAnswers = {ToQString(copy)};
  f.Action29SaveExecute();
  TBitmap back;
  LoadFile(copy, back);
  EXPECT_EQ(BitmapDiff(f.DisplayedPicture(), back), "");

  viewer.dialogs.yesNoAnswers = {true};
  f.Action24DeleteExecute();
  EXPECT_EQ(viewer.dialogs.MessagesOf("ConfirmYesNo"),
            std::vector<QString>{QString::fromUtf8("削除していいですね？ : a\xef\xbf\xbd.png")});
  EXPECT_FALSE(std::filesystem::exists(folder / names[0]));
  EXPECT_TRUE(std::filesystem::exists(folder / names[1]));
  EXPECT_TRUE(std::filesystem::exists(folder / names[2]));
  EXPECT_EQ(f.FileList.Count(), 2);
  EXPECT_EQ(f.FileList.IndexOf(first), -1);
}

// A picture whose four 2 x 2 corner blocks have the given colours, black elsewhere.
TBitmap CornerPicture(int w, int h, const TColor (&corners)[4]) {
  TBitmap bmp(w, h);
  bmp.BrushColor = 0;
  bmp.FillRect({0, 0, w, h});
  const int origins[4][2] = {{0, 0}, {w - 2, 0}, {0, h - 2}, {w - 2, h - 2}};
  for (int i = 0; i < 4; ++i) {
    bmp.BrushColor = corners[i];
    bmp.FillRect({origins[i][0], origins[i][1], origins[i][0] + 2, origins[i][1] + 2});
  }
  return bmp;
}

TEST(WallPaperTest, TheBackgroundIsTheAverageOfTheCornerBlocks) {
  struct Case {
    const char* name;
    TBitmap picture;
    TColor expected;
  };
  TBitmap grey(2, 1, pf8bit);  // 8-bit: through its colour table
  grey.Palette()[0] = {30, 20, 10, 0};
  grey.Palette()[1] = {60, 40, 20, 0};
  grey.ScanLine(0)[0] = 0;
  grey.ScanLine(0)[1] = 1;
  TBitmap black(1, 1);
  black.ScanLine(0)[0] = black.ScanLine(0)[1] = black.ScanLine(0)[2] = 0;
  const Case cases[] = {
      // 2040 / 16 = 127.5, truncated.
      {"red_green_blue_white",
       CornerPicture(6, 5, {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 255)}),
       RGB(127, 127, 127)},
      // A 1 x 1 picture: each corner block holds its one pixel once, the other twelve
      // samples lie outside and count as 255: (12 x 255) / 16 = 191.
      {"one_pixel", black, RGB(191, 191, 191)},
      // Rows 0 and 1 exist, row -1 does not: eight samples outside.
      {"grey_2x1", grey,
       RGB((4 * 10 + 4 * 20 + 8 * 255) / 16, (4 * 20 + 4 * 40 + 8 * 255) / 16,
           (4 * 30 + 4 * 60 + 8 * 255) / 16)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ViewerFixture viewer;
    viewer.Show(QSize(200, 100));
    viewer.form1().Image1->SetPicture(c.picture);
    viewer.form1().Action31WallPaperExecute();
    ASSERT_EQ(viewer.platform.backgrounds.size(), 1u);
    EXPECT_EQ(viewer.platform.backgrounds[0], c.expected);
  }
}

TEST(WallPaperTest, OnAFirstRunCreatesTheFolderAndSetsAFittedWallpaper) {
  ViewerFixture viewer;
  viewer.Show(QSize(200, 100));  // no pages: the idle canvas
  TForm1& f = viewer.form1();
  const QString folder = Inspector::INIPath(f);
  ASSERT_FALSE(QDir(folder).exists());
  f.Action31WallPaperExecute();

  const QString file = folder + "_WallPaper.bmp";
  TBitmap back;
  LoadFile(NativePath(file), back);
  EXPECT_EQ(BitmapDiff(f.DisplayedPicture(), back), "");
  ASSERT_EQ(viewer.platform.styleCalls.size(), 1u);
  EXPECT_EQ(viewer.platform.styleCalls[0].style, 60);
  EXPECT_EQ(viewer.platform.styleCalls[0].nX, 0);
  EXPECT_EQ(viewer.platform.styleCalls[0].nY, 0);
  EXPECT_EQ(viewer.platform.backgrounds, std::vector<TColor>{Inspector::WindowColor(f)})
      << "the idle canvas' corners are the window colour";
  EXPECT_EQ(viewer.platform.wallpapers, std::vector<QString>{file});
  EXPECT_TRUE(viewer.dialogs.messages.empty());
}

// The whole command against real GNOME settings (gsettings' keyfile backend in the fixture's
// temporary folder).
TEST(WallPaperTest, SetsTheGnomeDesktopBackground) {
  ViewerFixture viewer;
  const ScopedEnv backend("GSETTINGS_BACKEND", "keyfile");
  const ScopedEnv config("XDG_CONFIG_HOME",
                         QByteArray::fromStdString((viewer.temp / "xdg").string()));

  GnomeWallpaper gnome;
  FakePlatform& p = viewer.platform;
  TForm1 form1(PlatformServices{p, p, gnome, p, p}, viewer.dialogs, {});
  TForm2 form2(form1);
  TForm3 form3(form1);
  form1.AttachDialogs(form2, form3);
  form1.show();
  QApplication::processEvents();
  form1.Image1->SetPicture(
      CornerPicture(8, 8, {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 255)}));
  form1.Action31WallPaperExecute();

  const auto get = [](const char* key) {
    QProcess gsettings;
    gsettings.start("gsettings", {"get", "org.gnome.desktop.background", key});
    gsettings.waitForFinished(10000);
    return QString::fromUtf8(gsettings.readAllStandardOutput()).trimmed();
  };
  const QString uri = get("picture-uri");
  const QString options = get("picture-options");
  const QString colour = get("primary-color");

  EXPECT_EQ(QUrl(uri.mid(1, uri.size() - 2)).toLocalFile(),
            Inspector::INIPath(form1) + "_WallPaper.bmp");
  EXPECT_EQ(options, "'scaled'");
  EXPECT_EQ(colour, "'#7f7f7f'");
  form1.hide();
}

}  // namespace
}  // namespace kelpra::test

// The commands that fill, refresh and empty the file list, through the window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "core/file_search.h"
#include "ui/image_control.h"
#include "ui_fixture.h"

namespace kelpra::test {
namespace {

constexpr QSize kPortraitWindow{300, 400};

QString IdleCaption() {
  return QStringLiteral("[Kelpra]  ") + QString::fromUtf8(Version1);
}

QString PageCaption(const char* name, int page, int count) {
  return WithCounter(QStringLiteral("[Kelpra] (%1) 30 x 40").arg(QLatin1String(name)), page, count);
}

class FileListCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    viewer.Show(kPortraitWindow);
    viewer.SetOption(&TForm1::PM_R, false);
    pages = viewer.WritePages(4, 30, 40);
  }
  TForm1& form() { return viewer.form1(); }
  void StartAutoTurnPaused() {
    form().Action30AutoTurn->setChecked(true);
    form().Timer1->stop();
  }

  ViewerFixture viewer;
  QStringList pages;
};

TEST_F(FileListCommandsTest, OpenListsTheFolderAndShowsTheChosenFile) {
  StartAutoTurnPaused();
  viewer.Open(pages[2]);
  EXPECT_EQ(viewer.Caption(), PageCaption("p03.png", 3, 4));
  EXPECT_EQ(TForm1Inspector::FileName(form()), pages[2]);
  EXPECT_EQ(TForm1Inspector::RootDir(form()), ToQString(viewer.PictureFolder()));
  EXPECT_TRUE(form().Timer1->isActive()) << "Open re-arms the timer";
  ASSERT_EQ(viewer.dialogs.opened.size(), 1u);
  EXPECT_EQ(viewer.dialogs.opened[0].kind, "OpenPicture");
  EXPECT_EQ(viewer.dialogs.opened[0].filter, QString::fromUtf8(PictureFilter));
  EXPECT_EQ(viewer.dialogs.opened[0].defaultExtension, QStringLiteral(".jpg"));

  // The next dialog starts at the page on screen.
  viewer.Run(&TForm1::Action14NextExecute);
  viewer.Run(&TForm1::Action01FOpenExecute);  // cancelled
  ASSERT_EQ(viewer.dialogs.opened.size(), 2u);
  EXPECT_EQ(viewer.dialogs.opened[1].folder, ToQString(viewer.PictureFolder()));
  EXPECT_EQ(viewer.dialogs.opened[1].fileName, QStringLiteral("p04.png"));
  EXPECT_EQ(viewer.Caption(), PageCaption("p04.png", 4, 4)) << "cancel changes nothing";
}

TEST_F(FileListCommandsTest, OpeningByADifferentLetterCaseFindsTheSameEntry) {
  viewer.Open(pages[0]);
  QString upper = pages[2];
  upper.replace(QStringLiteral("p03.png"), QStringLiteral("P03.PNG"));
  viewer.Open(upper);
  EXPECT_EQ(form().ndxR, 2);
  EXPECT_EQ(viewer.Caption(), PageCaption("p03.png", 3, 4));
}

TEST_F(FileListCommandsTest, AFolderThatCannotBeListedIsAnErrorBox) {
  viewer.Open(pages[1]);
  const QString caption = viewer.Caption();
  viewer.Open(ToQString(viewer.temp / "missing" / "x.png"));
  ASSERT_EQ(viewer.dialogs.MessagesOf("ShowError").size(), 1u);
  EXPECT_TRUE(viewer.dialogs.MessagesOf("ShowError")[0].contains(QStringLiteral("missing")));
  EXPECT_EQ(viewer.Caption(), caption);
  EXPECT_TRUE(form().FileList.Empty());
}

TEST_F(FileListCommandsTest, DroppingUsesTheFirstItemOnly) {
  form().WMDropFiles({pages[1], pages[3]});
  EXPECT_EQ(viewer.Caption(), PageCaption("p02.png", 2, 4));
  EXPECT_EQ(TForm1Inspector::FileName(form()), pages[1]);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the hourglass is gone";

  form().Guarded([&] { form().WMDropFiles({ToQString(viewer.temp / "missing" / "a.png")}); });
  EXPECT_EQ(viewer.dialogs.MessagesOf("ShowError").size(), 1u);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "also after an error";
}

TEST_F(FileListCommandsTest, DroppedItemsArriveAsLocalFileUrls) {
  const struct {
    const char* name;
    QList<QUrl> urls;
    const char* caption;
    int page;
  } cases[] = {
      {"picture", {QUrl::fromLocalFile(pages[2])}, "p03.png", 3},
      {"folder lists its parent",
       {QUrl::fromLocalFile(ToQString(viewer.PictureFolder("pics/sub")) + u'/')},
       "p01.png",
       1},
      {"not a picture", {QUrl::fromLocalFile(pages[0] + QStringLiteral(".txt"))}, "p01.png", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    viewer.Open(pages[3]);
    QMimeData data;
    data.setUrls(c.urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form(), &drop);
    EXPECT_EQ(viewer.Caption(), PageCaption(c.caption, c.page, 4));
  }
  QMimeData remote;
  remote.setUrls({QUrl(QStringLiteral("https://example.org/a.png"))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &remote, Qt::LeftButton, Qt::NoModifier);
  enter.setAccepted(false);
  QApplication::sendEvent(&form(), &enter);
  EXPECT_FALSE(enter.isAccepted());
}

// A source that honours a move deletes the user's file: every drag and drop is taken as a copy,
// and a source that offers no copy is refused.
TEST_F(FileListCommandsTest, ADropIsACopyNeverAMove) {
  viewer.Open(pages[0]);
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(pages[2])});
  const Qt::DropActions both = Qt::CopyAction | Qt::MoveAction;
  QDragEnterEvent enter(QPoint(10, 10), both, &data, Qt::LeftButton, Qt::ShiftModifier);
  QDragMoveEvent move(QPoint(12, 10), both, &data, Qt::LeftButton, Qt::ShiftModifier);
  QDropEvent drop(QPointF(12, 10), both, &data, Qt::LeftButton, Qt::ShiftModifier);
  for (QDropEvent* event :
       {static_cast<QDropEvent*>(&enter), static_cast<QDropEvent*>(&move), &drop}) {
    event->setDropAction(Qt::MoveAction);
    event->setAccepted(false);
    QApplication::sendEvent(&form(), event);
    EXPECT_TRUE(event->isAccepted()) << event->type();
    EXPECT_EQ(event->dropAction(), Qt::CopyAction) << event->type();
  }
  EXPECT_EQ(viewer.Caption(), PageCaption("p03.png", 3, 4));

  QDragEnterEvent moveOnly(QPoint(10, 10), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
  moveOnly.setAccepted(false);
  QApplication::sendEvent(&form(), &moveOnly);
  EXPECT_FALSE(moveOnly.isAccepted());
  viewer.Open(pages[0]);
  QDropEvent moveOnlyDrop(QPointF(10, 10), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
  moveOnlyDrop.setAccepted(false);
  QApplication::sendEvent(&form(), &moveOnlyDrop);
  EXPECT_FALSE(moveOnlyDrop.isAccepted());
  EXPECT_EQ(viewer.Caption(), PageCaption("p01.png", 1, 4));
}

TEST_F(FileListCommandsTest, FolderSwitchesSubdirectoriesOnAndShowsTheFirstPicture) {
  viewer.WritePage("pics/sub/a.png", 30, 40);
  viewer.Open(pages[2]);
  viewer.dialogs.folderAnswers.push_back(ToQString(viewer.PictureFolder()));
  viewer.Run(&TForm1::Action25SelectFolderExecute);
  const FakeDialogs::Opened& chooser = viewer.dialogs.opened.back();
  EXPECT_EQ(chooser.kind, "ChooseFolder");
  EXPECT_EQ(chooser.fileName, QStringLiteral("フォルダの指定"));
  EXPECT_EQ(chooser.folder, ToQString(viewer.PictureFolder()) + u'/');
  EXPECT_TRUE(form().PM_R->isChecked());
  EXPECT_TRUE(form().MM_SR->isChecked());
  EXPECT_EQ(form().FileList.Count(), 5);
  EXPECT_EQ(form().ndxR, 0);
  EXPECT_EQ(TForm1Inspector::FileName(form()), pages[0]);
  EXPECT_EQ(viewer.Caption(), PageCaption("p01.png", 1, 5));
}

TEST_F(FileListCommandsTest, FolderWithoutPicturesActsAsClear) {
  viewer.Open(pages[0]);
  form().AutoInt = 10;
  viewer.Run(&TForm1::Action30AutoTurnExecute);
  viewer.dialogs.folderAnswers.push_back(ToQString(viewer.PictureFolder("empty")));
  viewer.Run(&TForm1::Action25SelectFolderExecute);
  EXPECT_EQ(viewer.Caption(), IdleCaption());
  EXPECT_FALSE(form().Action30AutoTurn->isChecked());
  EXPECT_FALSE(form().Timer1->isActive());
  EXPECT_TRUE(form().State.isEmpty());
  EXPECT_TRUE(TForm1Inspector::FileName(form()).isEmpty());
}

TEST_F(FileListCommandsTest, CancelledFolderChooserChangesNothing) {
  viewer.Open(pages[0]);
  viewer.Run(&TForm1::Action25SelectFolderExecute);
  EXPECT_FALSE(form().PM_R->isChecked());
  EXPECT_EQ(viewer.Caption(), PageCaption("p01.png", 1, 4));
}

TEST_F(FileListCommandsTest, ReloadKeepsTheCurrentPageAndRendersNothing) {
  viewer.Open(pages[2]);
  const QString caption = viewer.Caption();
  viewer.WritePage("p00.png", 30, 40);
  viewer.Run(&TForm1::PM_ReClick);
  EXPECT_EQ(form().FileList.Count(), 5);
  EXPECT_EQ(form().ndxR, 3);
  EXPECT_EQ(viewer.Caption(), caption);
  viewer.Run(&TForm1::Action14NextExecute);
  EXPECT_EQ(viewer.Caption(), PageCaption("p04.png", 5, 5));
}

TEST_F(FileListCommandsTest, ReloadOfAnEmptiedFolderSaysSoAndLeavesThePicture) {
  viewer.Open(pages[2]);
  const QString caption = viewer.Caption();
  for (const QString& page : pages)
    std::filesystem::remove(NativePath(page));
  viewer.Run(&TForm1::MM_FRClick);
  EXPECT_EQ(viewer.dialogs.MessagesOf("Information"),
            std::vector<QString>{QStringLiteral("No image files found.")});
  EXPECT_TRUE(form().FileList.Empty());
  EXPECT_EQ(viewer.Caption(), caption);
  viewer.Run(&TForm1::Action14NextExecute);
  EXPECT_EQ(form().Image1->Bounds(), QRect(QPoint(0, 0), kPortraitWindow)) << "idle canvas";
}

TEST_F(FileListCommandsTest, ParentDirWithoutPicturesRestoresTheList) {
  const QStringList sub = viewer.WritePages(3, 30, 40, "pics/sub");
  for (const QString& page : pages)
    std::filesystem::remove(NativePath(page));
  viewer.Open(sub[1]);
  viewer.Run(&TForm1::PM_RpClick);
  EXPECT_EQ(viewer.dialogs.MessagesOf("Information"),
            std::vector<QString>{QStringLiteral("No image files found.")});
  EXPECT_EQ(form().FileList.Paths(), sub);
  EXPECT_EQ(form().ndxR, 1);
}

TEST_F(FileListCommandsTest, ParentDirListsTheParentAndKeepsRootDir) {
  const QStringList sub = viewer.WritePages(2, 30, 40, "pics/sub");
  const struct {
    bool subdirectories;
    int count;
    int index;
  } cases[] = {{false, 4, 0}, {true, 6, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.subdirectories ? "with subfolders" : "without subfolders");
    viewer.SetOption(&TForm1::PM_R, c.subdirectories);
    viewer.Open(sub[1]);
    const QString root = TForm1Inspector::RootDir(form());
    viewer.Run(&TForm1::MM_FPClick);
    EXPECT_EQ(form().FileList.Count(), c.count);
    EXPECT_EQ(form().ndxR, c.index);
    EXPECT_EQ(TForm1Inspector::RootDir(form()), root);
    viewer.Run(&TForm1::MM_FRClick);  // back to the folder itself
    EXPECT_EQ(form().FileList.Count(), 2);
  }
  EXPECT_TRUE(viewer.dialogs.messages.empty());
}

TEST_F(FileListCommandsTest, ParentDirThatCannotBeListedKeepsTheList) {
  viewer.Open(pages[2]);
  TForm1Inspector::SetRootDir(form(), ToQString(viewer.temp / "gone" / "child"));
  viewer.Run(&TForm1::MM_FPClick);
  EXPECT_EQ(viewer.dialogs.MessagesOf("ShowError").size(), 1u);
  EXPECT_EQ(form().FileList.Paths(), pages);
  EXPECT_EQ(form().ndxR, 2);
}

TEST_F(FileListCommandsTest, ReloadAndParentDirDoNothingWithAnEmptyList) {
  for (auto command : {&TForm1::MM_FRClick, &TForm1::MM_FPClick}) {
    viewer.Run(command);
    EXPECT_TRUE(form().FileList.Empty());
  }
  EXPECT_TRUE(viewer.dialogs.messages.empty());
  EXPECT_EQ(viewer.Caption(), IdleCaption());
}

TEST_F(FileListCommandsTest, ClearStopsAutoTurnAndShowsTheIdleCanvas) {
  viewer.Open(pages[0]);
  form().AutoInt = 10;
  viewer.Run(&TForm1::Action30AutoTurnExecute);
  ASSERT_TRUE(form().Timer1->isActive());
  const QString root = TForm1Inspector::RootDir(form());
  viewer.Run(&TForm1::Action02FClearExecute);
  EXPECT_EQ(viewer.Caption(), IdleCaption());
  EXPECT_FALSE(form().Action30AutoTurn->isChecked());
  EXPECT_FALSE(form().Action30AutoTurn1->isChecked());
  EXPECT_FALSE(form().Timer1->isActive());
  EXPECT_TRUE(form().FileList.Empty());
  EXPECT_EQ(TForm1Inspector::RootDir(form()), root);
  EXPECT_EQ(form().Image1->Bounds(), QRect(QPoint(0, 0), kPortraitWindow));
}

TEST_F(FileListCommandsTest, GetPathAsksTheSystemForTheFolder) {
  EXPECT_EQ(TForm1Inspector::INIPath(form()),
            ToQString(viewer.temp / "appdata") + QStringLiteral("/ZENDRO/"));
  EXPECT_NE(std::find(viewer.platform.requestedFolders.begin(),
                      viewer.platform.requestedFolders.end(), 26),
            viewer.platform.requestedFolders.end());
}

}  // namespace
}  // namespace kelpra::test

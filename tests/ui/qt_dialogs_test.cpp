// Qt's file dialogs: the picture dialogs' filter, the folder chooser's parts.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <filesystem>

#include "ui/form1.h"
#include "ui/qt_dialogs.h"
#include "ui_fixture.h"

namespace kelpra::test {
namespace {

TEST(QtDialogsTest, BarSeparatedFilterBecomesQtNameFilters) {
  const struct {
    const char* filter;
    QStringList expected;
  } cases[] = {
      {"Text files (*.txt)|*.txt", {"Text files (*.txt)"}},
      {"Two (*.a;*.b)|*.a;*.b|Any|*.*", {"Two (*.a *.b)", "Any (*.*)"}},
      {"Odd|", {"Odd ()"}},
      {"", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.filter);
    EXPECT_EQ(QtNameFilters(QString::fromUtf8(c.filter)), c.expected);
  }
  const QStringList picture = QtNameFilters(QString::fromUtf8(PictureFilter));
  ASSERT_EQ(picture.size(), 6);
  EXPECT_EQ(picture.first(),
            QStringLiteral("All Supported Images (*.gif *.jpg *.jpeg *.png *.bmp)"));
  EXPECT_EQ(picture.last(), QStringLiteral("Bitmap Images (*.bmp)"));
}

TEST(QtDialogsTest, TheFolderChooserShowsFoldersOnlyWithTheStartingFolderSelected) {
  TempDir temp;
  std::filesystem::create_directories(temp / "books" / "first");
  std::filesystem::create_directories(temp / "books" / "second");
  const QString title = QStringLiteral("フォルダの指定");
  const auto chooser =
      MakeFolderChooser(nullptr, title, ToQString(temp / "books" / "second") + u'/');
  EXPECT_EQ(chooser->windowTitle(), title);
  EXPECT_EQ(chooser->fileMode(), QFileDialog::Directory);
  for (const auto option :
       {QFileDialog::DontUseNativeDialog, QFileDialog::ShowDirsOnly, QFileDialog::ReadOnly})
    EXPECT_TRUE(chooser->testOption(option)) << option;
  // Opened on the parent, the starting folder selected rather than entered.
  EXPECT_EQ(chooser->directory().absolutePath(), ToQString(temp / "books"));
  EXPECT_EQ(chooser->selectedFiles(), QStringList{ToQString(temp / "books" / "second")});
  for (const char* part :
       {"fileNameEdit", "fileNameLabel", "newFolderButton", "fileTypeCombo", "fileTypeLabel"}) {
    const auto* widget = chooser->findChild<QWidget*>(QString::fromLatin1(part));
    ASSERT_NE(widget, nullptr) << part;
    EXPECT_TRUE(widget->isHidden()) << part;
  }
  // No starting folder, or one that is gone: nothing is selected.
  for (const QString& start : {QString(), ToQString(temp / "gone") + u'/'}) {
    const auto plain = MakeFolderChooser(nullptr, title, start);
    EXPECT_FALSE(plain->selectedFiles().contains(ToQString(temp / "gone"))) << start.toStdString();
  }
}

}  // namespace
}  // namespace kelpra::test

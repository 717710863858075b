#include "core/file_search.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <filesystem>
#include <fstream>

#include "support/test_pictures.h"

namespace kelpra {
namespace {

namespace fs = std::filesystem;

QString Q(const fs::path& path) {
  return QString::fromStdString(path.string());
}

// Names only: the listing filters by extension, never by content.
void Touch(const fs::path& file) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "x";
}

QStringList Names(const PathList& list, const fs::path& root) {
  QStringList names;
  for (const QString& path : list.Paths())
    names << path.mid(Q(root).size() + 1);
  return names;
}

TEST(SearchFiles, ListsInNameOrderAndFindsTheGivenFile) {
  test::TempDir dir;
  for (const char* name : {"b.PNG", "a.jpg", "C.bmp"})
    Touch(dir / name);
  PathList list;
  EXPECT_EQ(SearchFiles(Q(dir / "b.PNG"), list, false), 1);
  EXPECT_EQ(Names(list, dir.path()), QStringList({"a.jpg", "b.PNG", "C.bmp"}));
  EXPECT_EQ(list[0], Q(dir.path()) + "/a.jpg");
  // A name differing only in letter case finds the same entry.
  EXPECT_EQ(SearchFiles(Q(dir / "c.BMP"), list, false), 2);
  EXPECT_EQ(SearchFiles(Q(dir / "missing.jpg"), list, false), 0);
}

TEST(SearchFiles, ExtensionFilter) {
  const struct {
    const char* name;
    bool listed;
  } cases[] = {{"Scan.JPG", true},     {"a.Jpeg", true},     {"b.gif", true},     {"c.png", true},
               {"d.bmp", true},        {"e.jpe", false},     {"f.tif", false},    {"g.jfif", false},
               {"noextension", false}, {"h.png.txt", false}, {"i.txt.png", true}, {"jpg", false},
               {".png", true},         {"k.PnG", true},      {"l.jpg ", false}};
  test::TempDir dir;
  for (const auto& c : cases)
    Touch(dir / c.name);
  PathList list;
  SearchFiles(Q(dir.path()), "", list, false);
  for (const auto& c : cases) {
    EXPECT_EQ(list.IndexOf(Q(dir / c.name)) >= 0, c.listed) << c.name;
    EXPECT_EQ(HasPictureExtension(c.name), c.listed) << c.name;
  }
}

TEST(SearchFiles, HiddenFilesAreListed) {
  test::TempDir dir;
  Touch(dir / ".hidden.jpg");
  Touch(dir / ".folder" / "x.jpg");
  PathList list;
  SearchFiles(Q(dir.path()), "", list, true);
  EXPECT_EQ(Names(list, dir.path()), QStringList({".folder/x.jpg", ".hidden.jpg"}));
}

TEST(SearchFiles, SubfoldersOnlyWhenAsked) {
  test::TempDir dir;
  for (const char* name : {"z.jpg", "m/b.jpg", "a.jpg", "m/n/c.png", "m/n/readme.txt"}) {
    Touch(dir / name);
  }
  PathList list;
  EXPECT_EQ(SearchFiles(Q(dir / "z.jpg"), list, true), 3);
  EXPECT_EQ(Names(list, dir.path()), QStringList({"a.jpg", "m/b.jpg", "m/n/c.png", "z.jpg"}));
  SearchFiles(Q(dir / "z.jpg"), list, false);
  EXPECT_EQ(Names(list, dir.path()), QStringList({"a.jpg", "z.jpg"}));
}

TEST(SearchFiles, FolderGivenWithOrWithoutDelimiter) {
  test::TempDir dir;
  Touch(dir / "a.jpg");
  Touch(dir / "b.jpg");
  PathList list;
  EXPECT_EQ(SearchFiles(Q(dir.path()), Q(dir / "b.jpg"), list, false), 1);
  EXPECT_EQ(SearchFiles(Q(dir.path()) + "/", Q(dir / "b.jpg"), list, false), 1);
  EXPECT_EQ(list[1], Q(dir / "b.jpg"));
  // The folder command's pseudo-name lists the folder itself, first page current.
  EXPECT_EQ(SearchFiles(Q(dir.path()) + "/*", list, true), 0);
  EXPECT_EQ(list.Count(), 2);
}

TEST(SearchFiles, BareNameMeansTheCurrentFolder) {
  test::TempDir dir;
  Touch(dir / "a.jpg");
  Touch(dir / "b.jpg");
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(Q(dir.path())));
  PathList list;
  const int index = SearchFiles("b.jpg", list, false);
  QDir::setCurrent(before);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(list.Count(), 2);
}

TEST(SearchFiles, MissingFolderFailsNamingIt) {
  test::TempDir dir;
  Touch(dir / "a.jpg");
  PathList list;
  SearchFiles(Q(dir / "a.jpg"), list, false);
  ASSERT_EQ(list.Count(), 1);
  const QString missing = Q(dir / "gone");
  for (const QString& folder : {missing, Q(dir / "a.jpg")}) {
    try {
      SearchFiles(folder + "/x.jpg", list, false);
      ADD_FAILURE() << "no error for " << folder.toStdString();
    } catch (const FileListError& error) {
      EXPECT_NE(std::string(error.what()).find(folder.toStdString()), std::string::npos)
          << error.what();
    }
    EXPECT_TRUE(list.Empty());
  }
}

TEST(SearchFiles, LinkLoopsEndAndLinkedFilesCount) {
  test::TempDir dir;
  Touch(dir / "a.jpg");
  Touch(dir / "sub" / "b.jpg");
  fs::create_directory_symlink(dir.path(), dir / "sub" / "loop");
  fs::create_symlink(dir / "a.jpg", dir / "link.jpg");
  fs::create_symlink(dir / "nowhere.jpg", dir / "dangling.jpg");
  PathList list;
  SearchFiles(Q(dir.path()), "", list, true);
  EXPECT_EQ(Names(list, dir.path()),
            QStringList({"a.jpg", "dangling.jpg", "link.jpg", "sub/b.jpg"}));
}

TEST(SearchFiles, UnreadableSubfolderIsSkipped) {
  if (geteuid() == 0)
    GTEST_SKIP() << "root reads every folder";
  test::TempDir dir;
  Touch(dir / "a.jpg");
  Touch(dir / "locked" / "b.jpg");
  fs::permissions(dir / "locked", fs::perms::none);
  PathList list;
  SearchFiles(Q(dir.path()), "", list, true);
  fs::permissions(dir / "locked", fs::perms::owner_all);
  EXPECT_EQ(Names(list, dir.path()), QStringList({"a.jpg"}));
}

TEST(FilePaths, SplitAtTheLastDelimiter) {
  EXPECT_EQ(ExtractFilePath("/a/b/c.jpg"), "/a/b/");
  EXPECT_EQ(ExtractFileName("/a/b/c.jpg"), "c.jpg");
  EXPECT_EQ(ExtractFilePath("c.jpg"), "");
  EXPECT_EQ(ExtractFileName("c.jpg"), "c.jpg");
  EXPECT_EQ(ExcludeTrailingDelimiter("/a/b/"), "/a/b");
  EXPECT_EQ(ExcludeTrailingDelimiter("/a/b"), "/a/b");
  EXPECT_EQ(ExcludeTrailingDelimiter("/"), "");
}

}  // namespace
}  // namespace kelpra

#include "core/file_search.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <set>

#include "core/file_names.h"
#include "support/child_process.h"
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
  test::TempDir dir;
  Touch(dir / "a.jpg");
  Touch(dir / "locked" / "b.jpg");
  fs::permissions(dir / "locked", fs::perms::none);
  fs::permissions(dir.path(), fs::perms::all);
  // Root reads every folder: the walk runs as an ordinary user.
  const std::string listed = test::RunInChild([&]() -> std::string {
    if (geteuid() == 0) {
      if (std::string dropped = test::BecomeNobody(); !dropped.empty())
        return dropped;
    }
    PathList list;
    SearchFiles(Q(dir.path()), "", list, true);
    return Names(list, dir.path()).join(u' ').toStdString();
  });
  fs::permissions(dir / "locked", fs::perms::owner_all);
  EXPECT_EQ(listed, "a.jpg");
}

// Names from old archives (Latin-1, Shift-JIS) are not UTF-8: each file is listed once, and its
// entry leads back to the file by its bytes.
TEST(SearchFiles, NamesThatAreNotUtf8AreListedOnceEachByTheirBytes) {
  test::TempDir dir;
  const std::string names[] = {"caf\xe9.jpg", "caf\xe8.jpg", "\x83\x65\x83\x58\x83\x67.png",
                               "\x82\xa0\xe9/x\xff.gif", "plain.jpg"};
  std::set<std::string> expected;
  for (const std::string& name : names) {
    Touch(dir / name);
    expected.insert((dir / name).string());
  }
  PathList list;
  const QString second = FileNameFromBytes((dir / names[1]).string());
  const int index = SearchFiles(second, list, true);
  ASSERT_EQ(list.Count(), int(std::size(names)));
  EXPECT_EQ(list[index], second);
  std::set<std::string> listed;
  for (const QString& path : list.Paths()) {
    listed.insert(FileNameToBytes(path));
    EXPECT_TRUE(fs::is_regular_file(NativePath(path))) << FileNameToBytes(path);
  }
  EXPECT_EQ(listed, expected);
}

// Makes and removes a tree level by level, each relative to the one above, as whole paths
// may be too long for the system.
class DeepTree {
 public:
  DeepTree(const fs::path& root, const std::string& level, int depth) : root_(root), level_(level) {
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < depth && fd >= 0; ++i) {
      if (i % 25 == 0 || i == depth - 1)
        CloseOrFail(::openat(fd, "p.jpg", O_WRONLY | O_CREAT, 0644));
      EXPECT_EQ(::mkdirat(fd, level.c_str(), 0755), 0);
      const int next = ::openat(fd, level.c_str(), O_RDONLY | O_DIRECTORY);
      ::close(fd);
      fd = next;
    }
    CloseOrFail(fd);
  }
  ~DeepTree() { Remove(::open(root_.c_str(), O_RDONLY | O_DIRECTORY)); }

 private:
  static void CloseOrFail(int fd) {
    EXPECT_GE(fd, 0);
    ::close(fd);
  }
  void Remove(int folder) const {
    if (folder < 0)
      return;
    const int inner = ::openat(folder, level_.c_str(), O_RDONLY | O_DIRECTORY);
    Remove(inner);
    ::unlinkat(folder, level_.c_str(), AT_REMOVEDIR);
    ::unlinkat(folder, "p.jpg", 0);
    ::close(folder);
  }

  fs::path root_;
  std::string level_;
};

// A tree deeper than the open-file limit whose deepest paths are longer than the 4096 bytes the
// system takes at once: every picture is listed.
TEST(SearchFiles, ATreeDeeperThanTheOpenFileLimitIsListedWhole) {
  test::TempDir dir;
  const std::string level(50, 'd');
  constexpr int kDepth = 120;  // 51 bytes a level: over 6000 bytes deep
  DeepTree tree(dir.path(), level, kDepth);
  std::set<std::string> expected;
  std::string folder = dir.path().string() + '/';
  for (int i = 0; i < kDepth; ++i) {
    if (i % 25 == 0 || i == kDepth - 1)
      expected.insert(folder + "p.jpg");
    folder += level + '/';
  }

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
  rlimit few = saved;
  few.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &few), 0);
  PathList list;
  SearchFiles(Q(dir.path()), "", list, true);
  setrlimit(RLIMIT_NOFILE, &saved);

  std::set<std::string> listed;
  size_t longest = 0;
  for (const QString& path : list.Paths()) {
    listed.insert(FileNameToBytes(path));
    longest = std::max(longest, FileNameToBytes(path).size());
  }
  EXPECT_EQ(listed, expected);
  EXPECT_GT(longest, size_t(PATH_MAX));
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

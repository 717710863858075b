#include "core/file_names.h"

#include <gtest/gtest.h>

#include <QUrl>
#include <set>

#include "support/test_pictures.h"

namespace kelpra {
namespace {

struct NameBytes {
  const char* what;
  std::string bytes;
  const char* shown;  // UTF-8
};

const NameBytes kNames[] = {
    {"ascii", "page 01.jpg", "page 01.jpg"},
    {"utf8", "\xe3\x83\x9a\xe3\x83\xbc\xe3\x82\xb8 \xc3\xa9 \xf0\x9f\x92\x80.png",
     "ページ é 💀.png"},  // U+1F480: its low surrogate lies among the escapes
    {"latin1", "caf\xe9.jpg", "caf\xef\xbf\xbd.jpg"},
    {"latin1Other", "caf\xe8.jpg", "caf\xef\xbf\xbd.jpg"},
    {"shiftJis", "\x83\x65\x83\x58\x83\x67.jpg", "\xef\xbf\xbd\x65\xef\xbf\xbdX\xef\xbf\xbdg.jpg"},
    {"overlong", "\xc0\xaf.gif", "\xef\xbf\xbd\xef\xbf\xbd.gif"},
    {"surrogate", "\xed\xa0\x80.gif", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd.gif"},
    {"pastUnicode", "\xf4\x90\x80\x80", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},
    {"cutShort", "a\xe3\x83", "a\xef\xbf\xbd\xef\xbf\xbd"},
    {"everyHighByte", "\x80\xbf\xc1\xf5\xff",
     "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},
};

void PrintTo(const NameBytes& name, std::ostream* out) {
  *out << name.what;
}

class FileNameBytesTest : public ::testing::TestWithParam<NameBytes> {};

TEST_P(FileNameBytesTest, ComeBackAsTheyWereAndShowWithReplacementCharacters) {
  const QString name = FileNameFromBytes(GetParam().bytes);
  EXPECT_EQ(FileNameToBytes(name), GetParam().bytes);
  EXPECT_EQ(NativePath(name).string(), GetParam().bytes);
  EXPECT_EQ(DisplayName(name), QString::fromUtf8(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(Names, FileNameBytesTest, ::testing::ValuesIn(kNames),
                         [](const auto& info) { return std::string(info.param.what); });

TEST(FileNamesTest, DifferentBytesNeverGiveTheSameName) {
  std::set<QString> names;
  for (const NameBytes& name : kNames)
    names.insert(FileNameFromBytes(name.bytes));
  EXPECT_EQ(names.size(), std::size(kNames));
  // Every single byte, and every pair of bytes.
  std::set<QString> pairs;
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      const std::string bytes{char(a), char(b)};
      const QString name = FileNameFromBytes(bytes);
      EXPECT_EQ(FileNameToBytes(name), bytes) << a << " " << b;
      pairs.insert(name);
    }
  }
  EXPECT_EQ(pairs.size(), 65536u);
}

TEST(FileNamesTest, ADroppedFileKeepsItsBytes) {
  const QUrl url(QStringLiteral("file:///tmp/caf%E9/%83e%83X%83g%20x.jpg"));
  EXPECT_EQ(FileNameToBytes(LocalFileName(url)),
            "/tmp/caf\xe9/\x83"
            "e\x83X\x83g x.jpg");
  const QUrl utf8 = QUrl::fromLocalFile(QString::fromUtf8("/tmp/ページ.png"));
  EXPECT_EQ(LocalFileName(utf8), QString::fromUtf8("/tmp/ページ.png"));
}

TEST(FileNamesTest, TheStartArgumentBecomesAFullPath) {
  const QString here = QStringLiteral("/home/u/books");
  const struct {
    const char* argument;
    std::string expected;  // bytes
  } cases[] = {
      {"p02.jpg", "/home/u/books/p02.jpg"},
      {"book/p02.jpg", "/home/u/books/book/p02.jpg"},
      {"./book//./p02.jpg", "/home/u/books/book/p02.jpg"},
      // ".." stays: through a link it leads elsewhere than the text says.
      {"../link/../p.jpg", "/home/u/books/../link/../p.jpg"},
      {"/srv/p.jpg", "/srv/p.jpg"},
      // What desktop launchers pass; the escapes are bytes, UTF-8 or not.
      {"file:///srv/a%20b.jpg", "/srv/a b.jpg"},
      {"file:///srv/caf%E9/%E3%83%9A.png", "/srv/caf\xe9/\xe3\x83\x9a.png"},
      {"FILE:///srv/p.jpg", "/srv/p.jpg"},
      // Not a URI of a local file: a name like any other.
      {"file:p.jpg", "/home/u/books/file:p.jpg"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argument);
    EXPECT_EQ(FileNameToBytes(StartFileName(FileNameFromBytes(c.argument), here)), c.expected);
  }
  EXPECT_EQ(FileNameToBytes(StartFileName(QStringLiteral("p.jpg"), FileNameFromBytes("/caf\xe9"))),
            "/caf\xe9/p.jpg");
}

// Qt's dialogs show such names with replacement characters; their answer finds the real file.
TEST(FileNamesTest, APathAsQtShowsItFindsTheRealFile) {
  test::TempDir dir;
  const std::filesystem::path folder = dir / "caf\xe9";
  std::filesystem::create_directory(folder);
  test::WriteBytes({1}, folder / "\x83\x65.jpg");
  test::WriteBytes({1}, folder / "twin\xe8.jpg");  // two that Qt shows alike
  test::WriteBytes({1}, folder / "twin\xe9.jpg");
  test::WriteBytes({1}, folder / "plain.jpg");
  const QString base = QString::fromStdString(dir.path().string());
  const QString shownFolder = base + QString::fromUtf8("/caf\xef\xbf\xbd");
  EXPECT_EQ(FileNameToBytes(ResolveQtDecodedPath(shownFolder + QString::fromUtf8("/\xef\xbf\xbd"
                                                                                 "e.jpg"))),
            (folder / "\x83\x65.jpg").string());
  EXPECT_EQ(FileNameToBytes(ResolveQtDecodedPath(shownFolder + "/plain.jpg")),
            (folder / "plain.jpg").string());
  // A name that several files share stays as given, as does a new name.
  const QString twin = shownFolder + QString::fromUtf8("/twin\xef\xbf\xbd.jpg");
  EXPECT_EQ(FileNameToBytes(ResolveQtDecodedPath(twin)),
            (folder / "twin\xef\xbf\xbd.jpg").string());
  EXPECT_EQ(FileNameToBytes(ResolveQtDecodedPath(shownFolder + "/new.bmp")),
            (folder / "new.bmp").string());
  EXPECT_EQ(ResolveQtDecodedPath(base + "/missing/x.jpg"), base + "/missing/x.jpg");
}

}  // namespace
}  // namespace kelpra

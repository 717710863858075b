#include "core/ini_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>

#include "support/test_pictures.h"

namespace kelpra {
namespace {

using test::TempDir;

QString PathIn(const TempDir& dir, const char* name) {
  return QString::fromStdString((dir / name).string());
}

void WriteText(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct IntegerCase {
  const char* text;
  int expected;  // kDefault when the text is not an integer
};
constexpr int kDefault = 10;

class IniIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IniIntegerTest, ReadsAsTheSettingsFileDefines) {
  TempDir dir;
  const QString path = PathIn(dir, "a.ini");
  WriteText(path, QByteArray("[SETTING]\nInterval=") + GetParam().text + "\n");
  EXPECT_EQ(IniFile(path).ReadInteger("SETTING", "Interval", kDefault), GetParam().expected)
      << "value: " << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Values, IniIntegerTest,
    ::testing::Values(IntegerCase{"30", 30}, IntegerCase{"-8", -8}, IntegerCase{"+7", 7},
                      IntegerCase{" 42 ", 42}, IntegerCase{"0x1E", 30}, IntegerCase{"0X1e", 30},
                      IntegerCase{"$1E", 30}, IntegerCase{"-$10", -16},
                      IntegerCase{"$FFFFFFFF", -1}, IntegerCase{"2147483647", 2147483647},
                      IntegerCase{"-2147483648", -2147483647 - 1}, IntegerCase{"007", 7},
                      IntegerCase{"abc", kDefault}, IntegerCase{"", kDefault},
                      IntegerCase{"0x", kDefault}, IntegerCase{"$", kDefault},
                      IntegerCase{"12abc", kDefault}, IntegerCase{"1.5", kDefault},
                      IntegerCase{"2147483648", kDefault}, IntegerCase{"$100000000", kDefault},
                      IntegerCase{"0x1G", kDefault}, IntegerCase{"- 5", kDefault},
                      IntegerCase{"\xd9\xa3", kDefault}));  // an Arabic-Indic digit

TEST(IniFileTest, NamesMatchWithoutCaseAndTheFirstOccurrenceWins) {
  TempDir dir;
  const QString path = PathIn(dir, "a.ini");
  WriteText(path,
            "; a comment\r\n"
            "[Config]\r\n"
            "windowstate = wsMaximized\r\n"
            "WINDOWSTATE=wsMinimized\r\n"
            "[MENU]\r\n"
            "Stretch=0\r\n"
            "[config]\r\n"
            "Left=5\r\n");
  const IniFile ini(path);
  EXPECT_EQ(ini.ReadString("CONFIG", "WindowState", "wsNormal"), "wsMaximized");
  EXPECT_EQ(ini.ReadInteger("CONFIG", "Left", -1), -1) << "only the first [CONFIG] is read";
  EXPECT_FALSE(ini.ReadBool("menu", "stretch", true));
  EXPECT_TRUE(ini.ReadBool("MENU", "Splitter", true)) << "a missing key gives the default";
  EXPECT_EQ(ini.ReadString("NOPE", "x", "def"), "def");
}

TEST(IniFileTest, BooleansAreIntegersAndAnyNonZeroIsTrue) {
  TempDir dir;
  const QString path = PathIn(dir, "a.ini");
  WriteText(path, "[MENU]\na=0\nb=1\nc=-3\nd=0x10\ne=yes\n");
  const IniFile ini(path);
  EXPECT_FALSE(ini.ReadBool("MENU", "a", true));
  EXPECT_TRUE(ini.ReadBool("MENU", "b", false));
  EXPECT_TRUE(ini.ReadBool("MENU", "c", false));
  EXPECT_TRUE(ini.ReadBool("MENU", "d", false));
  EXPECT_FALSE(ini.ReadBool("MENU", "e", false)) << "not an integer: the default";
  EXPECT_TRUE(ini.ReadBool("MENU", "e", true));
}

TEST(IniFileTest, ReadsAtMost2047Characters) {
  TempDir dir;
  const QString path = PathIn(dir, "a.ini");
  WriteText(path, "[CONFIG]\nLast file=" + QByteArray(3000, 'x') + "\n");
  EXPECT_EQ(IniFile(path).ReadString("CONFIG", "Last file", "").size(), 2047);
}

TEST(IniFileTest, ErasingASectionKeepsEverythingElse) {
  TempDir dir;
  const QString path = PathIn(dir, "a.ini");
  WriteText(path,
            "; kept comment\n"
            "[Mine]\n"
            "keep=1\n"
            "\n"
            "[MENU]\n"
            "Stretch=0\n"
            "Unknown key=5\n"
            "[menu]\n"
            "Stretch=1\n"
            "[Other]\n"
            "x=y\n");
  IniFile ini(path);
  ini.EraseSection("Menu");
  ini.WriteBool("MENU", "Stretch", true);
  ini.Save();
  EXPECT_EQ(ReadBytes(path),
            "; kept comment\n"
            "[Mine]\n"
            "keep=1\n"
            "\n"
            "[Other]\n"
            "x=y\n"
            "[MENU]\n"
            "Stretch=1\n");
}

TEST(IniFileTest, WritingReplacesTheFirstKeyOrAppendsBeforeTrailingBlankLines) {
  TempDir dir;
  const QString path = PathIn(dir, "a.ini");
  WriteText(path, "[A]\nk=1\nK=2\n\n[B]\nz=0\n");
  IniFile ini(path);
  ini.WriteInteger("a", "K", -4);
  ini.WriteString("A", "new", "v");
  EXPECT_EQ(ini.Text(), "[A]\nK=-4\nK=2\nnew=v\n\n[B]\nz=0\n");
}

TEST(IniFileTest, AnyPathRoundTrips) {
  TempDir dir;
  const QString path = PathIn(dir, "設定.ini");
  const QString values[] = {
      QString::fromUtf8("/home/ユーザー/Bilder/Ärger ☃ 𝄞.jpg"),
      " leading and trailing blanks ",
      "\"quoted\"",
      "a=b;c[d]",
      "",
  };
  IniFile ini(path);
  for (int i = 0; i < int(std::size(values)); ++i)
    ini.WriteString("CONFIG", QString::number(i), values[i]);
  ini.Save();
  const IniFile back(path);
  for (int i = 0; i < int(std::size(values)); ++i)
    EXPECT_EQ(back.ReadString("CONFIG", QString::number(i), "missing"), values[i]);
  EXPECT_TRUE(ReadBytes(path).contains("\xe3\x83\xa6\xe3\x83\xbc")) << "stored as UTF-8";
}

TEST(IniFileTest, ALegacyEncodedFileKeepsItsCharacters) {
  TempDir dir;
  const QString path = PathIn(dir, "a.ini");
  WriteText(path, "[Other]\nname=caf\xe9\n");  // Latin-1, not valid UTF-8
  IniFile ini(path);
  EXPECT_EQ(ini.ReadString("Other", "name", ""), QString::fromUtf8("café"));
}

TEST(IniFileTest, ReadingAMissingFileCreatesNothing) {
  TempDir dir;
  const QString path = PathIn(dir, "sub/a.ini");
  const IniFile ini(path);
  EXPECT_EQ(ini.ReadInteger("SETTING", "Interval", 10), 10);
  EXPECT_FALSE(QFileInfo::exists(PathIn(dir, "sub")));
}

TEST(IniFileTest, SaveIntoAMissingFolderThrowsWithTheFileName) {
  TempDir dir;
  const QString path = PathIn(dir, "missing/a.ini");
  IniFile ini(path);
  ini.WriteInteger("SETTING", "Interval", 5);
  try {
    ini.Save();
    FAIL() << "no error";
  } catch (const IniFileError& error) {
    EXPECT_NE(std::string(error.what()).find("missing/a.ini"), std::string::npos) << error.what();
  }
}

// A write that fails half-way (the file-size limit stands in for a full disk) leaves the
// previous file whole and no temporary file behind.
TEST(IniFileTest, AFailedWriteLeavesThePreviousFileWhole) {
  TempDir dir;
  const QString path = PathIn(dir, "a.ini");
  const QByteArray old = "[SETTING]\nInterval=7\n";
  WriteText(path, old);
  IniFile ini(path);
  ini.WriteString("CONFIG", "Last file", QString(100000, QLatin1Char('x')));

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 4096;
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool threw = false;
  try {
    ini.Save();
  } catch (const IniFileError&) {
    threw = true;
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_TRUE(threw);
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(QDir(PathIn(dir, "")).entryList(QDir::Files | QDir::Hidden), QStringList{"a.ini"});
}

TEST(IniFileTest, AValueWithALineBreakIsStoredEmptyAndBreaksNothing) {
  TempDir dir;
  IniFile ini(PathIn(dir, "a.ini"));
  ini.WriteString("CONFIG", "Last file", "/a\n[MENU]\nStretch=0");
  EXPECT_EQ(ini.Text(), "[CONFIG]\nLast file=\n");
}

}  // namespace
}  // namespace kelpra

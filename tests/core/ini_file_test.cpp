#include "core/ini_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <csignal>
#include <fstream>

#include "core/file_names.h"
#include "support/child_process.h"
#include "support/test_pictures.h"
#include "support/write_faults.h"

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

// The settings as the program writes them: more than any buffer hides, less than a page.
void WriteSettings(IniFile& ini) {
  ini.EraseSection("SETTING");
  ini.WriteInteger("SETTING", "Interval", 5);
  ini.EraseSection("CONFIG");
  ini.WriteFileName("CONFIG", "Last file", "/home/user/Pictures/a very long name of a page.jpg");
}

std::string SaveError(IniFile& ini) {
  try {
    ini.Save();
    return "no error";
  } catch (const IniFileError& error) {
    return error.what();
  }
}

class IniWriteFaultTest : public ::testing::TestWithParam<test::WriteFault> {};

TEST_P(IniWriteFaultTest, FailsWithTheReasonAndKeepsTheOldFile) {
  TempDir dir;
  const QString path = PathIn(dir, "settings/kelpra.ini");
  const std::string result = test::ExpectWriteFails(
      GetParam(), dir / "settings", "kelpra.ini", "[SETTING]\r\nInterval=7\r\n", [&] {
        IniFile ini(path);
        WriteSettings(ini);
        const std::string message = SaveError(ini);
        return message.starts_with("Cannot write " + path.toStdString() + ": ")
                   ? message
                   : "the message does not name the file: " + message;
      });
  if (result == test::kNoNamespace)
    GTEST_SKIP() << result << "; the file-size limit shows the same fault";
  EXPECT_EQ(result, "");
}

INSTANTIATE_TEST_SUITE_P(Faults, IniWriteFaultTest, ::testing::ValuesIn(test::WriteFaults()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IniFileTest, ALinkIsWrittenThroughAndALongNameSaves) {
  TempDir dir;
  std::filesystem::create_directory(dir / "real");
  WriteText(PathIn(dir, "real/kelpra.ini"), "[SETTING]\nInterval=7\n");
  std::filesystem::create_symlink("real/kelpra.ini", dir / "kelpra.ini");
  IniFile linked(PathIn(dir, "kelpra.ini"));
  linked.WriteInteger("SETTING", "Interval", 9);
  linked.Save();
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "kelpra.ini"));
  EXPECT_EQ(ReadBytes(PathIn(dir, "real/kelpra.ini")), "[SETTING]\nInterval=9\n");

  // The temporary file's name must fit where the file's own name just fits.
  const QString longName = QString(251, u'k') + ".ini";
  IniFile ini(PathIn(dir, "real/") + longName);
  WriteSettings(ini);
  ini.Save();
  EXPECT_EQ(IniFile(PathIn(dir, "real/") + longName).ReadInteger("SETTING", "Interval", 0), 5);
  EXPECT_EQ(test::FolderEntries(dir / "real"),
            (std::vector<std::string>{"kelpra.ini", longName.toStdString()}));
}

// What a kill between writing and renaming leaves behind is removed by the next write, and
// nothing that only looks like it: the user's own copies beside the file stay.
TEST(IniFileTest, ASuccessfulWriteRemovesTheLeftoversOfEarlierWrites) {
  TempDir dir;
  const auto make = [&](const char* name) { test::WriteBytes({'x'}, dir / name); };
  make(".kelpra.ini.kelpra-Ab12Cd");  // a leftover
  make(".kelpra.ini.kelpra-zzzzzz");  // a leftover
  std::vector<std::string> kept = {
      "kelpra.ini",                  // the file itself
      "kelpra.ini.backup",           // the user's copy
      "kelpra.ini.Ab12Cd",           // the user's, not marked as ours
      ".kelpra.ini.kelpra-abc",      // too short
      ".kelpra.ini.kelpra-Ab12Cde",  // too long
      ".kelpra.ini.kelpra-Ab12C_",   // not a letter or digit
      ".kelpra.ini.kelpra-Busy01",   // a write is busy with it
      ".kelpra.ini.kelpra-Folder",   // a folder
      ".kelpra.ini.kelpra-Link00",   // a link
      ".kelpra.ini.kelpra-Nobody",   // another user's
      ".other.ini.kelpra-Ab12Cd",    // another file's
      ".xkelpra.ini.kelpra-Ab12Cd",  // another file's
  };
  for (const char* name :
       {"kelpra.ini.backup", "kelpra.ini.Ab12Cd", ".kelpra.ini.kelpra-abc",
        ".kelpra.ini.kelpra-Ab12Cde", ".kelpra.ini.kelpra-Ab12C_", ".kelpra.ini.kelpra-Busy01",
        ".kelpra.ini.kelpra-Nobody", ".other.ini.kelpra-Ab12Cd", ".xkelpra.ini.kelpra-Ab12Cd"}) {
    make(name);
  }
  std::filesystem::create_directory(dir / ".kelpra.ini.kelpra-Folder");
  std::filesystem::create_symlink(dir / ".other.ini.kelpra-Ab12Cd",
                                  dir / ".kelpra.ini.kelpra-Link00");
  ASSERT_EQ(
      chown((dir / ".kelpra.ini.kelpra-Nobody").c_str(), test::NobodyUid(), test::NobodyGid()), 0);
  const int busy = ::open((dir / ".kelpra.ini.kelpra-Busy01").c_str(), O_RDONLY);
  ASSERT_GE(busy, 0);
  ASSERT_EQ(flock(busy, LOCK_EX), 0);

  IniFile ini(PathIn(dir, "kelpra.ini"));
  WriteSettings(ini);
  ini.Save();
  ::close(busy);
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(test::FolderEntries(dir.path()), kept);
}

TEST(IniFileTest, AFailedWriteRemovesNoLeftovers) {
  TempDir dir;
  test::WriteBytes({'x'}, dir / ".kelpra.ini.kelpra-Ab12Cd");
  std::filesystem::create_directories(dir / "kelpra.ini" / "keep");  // cannot be replaced
  IniFile ini(PathIn(dir, "kelpra.ini"));
  EXPECT_THROW(ini.Save(), IniFileError);
  EXPECT_EQ(test::FolderEntries(dir.path()),
            (std::vector<std::string>{".kelpra.ini.kelpra-Ab12Cd", "kelpra.ini"}));
}

struct UnreadableSettings {
  const char* name;
  void (*make)(const std::filesystem::path& file);
  const char* problem;
};

const UnreadableSettings kUnreadableSettings[] = {
    {"Fifo", [](const std::filesystem::path& file) { ASSERT_EQ(mkfifo(file.c_str(), 0644), 0); },
     "it is not a regular file"},
    {"LinkToDevZero",
     [](const std::filesystem::path& file) { std::filesystem::create_symlink("/dev/zero", file); },
     "it is not a regular file"},
    {"Folder", [](const std::filesystem::path& file) { std::filesystem::create_directory(file); },
     "it is a folder"},
    // Sparse: five gigabytes that take no room, past what a 32-bit size could hold.
    {"Huge",
     [](const std::filesystem::path& file) {
       test::WriteBytes({'['}, file);
       std::filesystem::resize_file(file, std::uintmax_t(5) << 30);
     },
     "it is larger than 1 MiB"},
    {"JustTooLarge",
     [](const std::filesystem::path& file) {
       std::ofstream(file) << "[SETTING]\nInterval=3\n" << std::string(1024 * 1024, ';');
     },
     "it is larger than 1 MiB"},
};

void PrintTo(const UnreadableSettings& settings, std::ostream* out) {
  *out << settings.name;
}

class UnreadableSettingsTest : public ::testing::TestWithParam<UnreadableSettings> {};

// Read without blocking or reading it whole; not replaced, as its content was never seen.
TEST_P(UnreadableSettingsTest, GivesTheDefaultsAReasonAndIsNotReplaced) {
  TempDir dir;
  const std::filesystem::path file = dir / "kelpra.ini";
  GetParam().make(file);
  const auto before = std::filesystem::symlink_status(file).type();
  const std::uintmax_t size =
      std::filesystem::is_regular_file(file) ? std::filesystem::file_size(file) : 0;

  IniFile ini(PathIn(dir, "kelpra.ini"));
  EXPECT_EQ(ini.ReadProblem(), GetParam().problem);
  EXPECT_EQ(ini.ReadInteger("SETTING", "Interval", 10), 10);
  WriteSettings(ini);
  EXPECT_EQ(SaveError(ini),
            "Cannot write " + (dir / "kelpra.ini").string() + ": " + GetParam().problem);
  EXPECT_EQ(std::filesystem::symlink_status(file).type(), before);
  if (size > 0) {
    EXPECT_EQ(std::filesystem::file_size(file), size);
  }
  EXPECT_EQ(test::FolderEntries(dir.path()), std::vector<std::string>{"kelpra.ini"});
}

INSTANTIATE_TEST_SUITE_P(Kinds, UnreadableSettingsTest, ::testing::ValuesIn(kUnreadableSettings),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IniFileTest, AFileOfTheLargestSizeIsRead) {
  TempDir dir;
  const QByteArray head = "[SETTING]\nInterval=3\n";
  WriteText(PathIn(dir, "a.ini"), head + QByteArray(IniFile::kMaxFileSize - head.size(), ';'));
  const IniFile ini(PathIn(dir, "a.ini"));
  EXPECT_EQ(ini.ReadProblem(), "");
  EXPECT_EQ(ini.ReadInteger("SETTING", "Interval", 10), 3);
}

// Text the program does not own comes back byte for byte: other sections, comments, blank
// lines, Latin-1 and Shift-JIS bytes, CRLF line ends, the byte order mark, a last line without
// a line end; the program's own lines take the file's line end.
TEST(IniFileTest, TextItDoesNotOwnComesBackByteForByte) {
  const QByteArray foreign =
      "\xEF\xBB\xBF; Einstellungen f\xfcr Hand\r\n"
      "\r\n"
      "[Fremd]\r\n"
      "Name=M\xfcller\r\n"
      "  Pfad = C:\\Bilder\\\x83\x65\x83\x58\x83\x67  \r\n"
      "\r\n";
  const QByteArray later = "[Later]\r\nmixed=1\n# no line end at the very end";
  TempDir dir;
  const QString path = PathIn(dir, "a.ini");
  WriteText(path, foreign + "[CONFIG]\r\nLeft=3\r\nOld=1\r\n" + later);
  IniFile ini(path);
  EXPECT_EQ(ini.ReadString("Fremd", "Name", ""), QString::fromUtf8("Müller"));
  ini.EraseSection("CONFIG");
  ini.WriteInteger("CONFIG", "Left", 5);
  ini.WriteString("config", "WindowState", "wsNormal");
  ini.Save();
  EXPECT_EQ(ReadBytes(path),
            foreign + later + "\r\n[CONFIG]\r\nLeft=5\r\nWindowState=wsNormal\r\n");
}

// File names are bytes: one that is not UTF-8 is stored as its own bytes and read back so.
TEST(IniFileTest, AFileNameComesBackByItsBytes) {
  const std::string names[] = {
      "/home/u/caf\xe9.jpg",                      // Latin-1
      "/home/u/\x83\x65\x83\x58\x83\x67/1.png",   // Shift-JIS
      "/home/\xe3\x83\xa6/\xff\xfe \"quoted\" ",  // UTF-8, invalid bytes, blanks and quotes
  };
  TempDir dir;
  const QString path = PathIn(dir, "a.ini");
  IniFile ini(path);
  for (int i = 0; i < int(std::size(names)); ++i)
    ini.WriteFileName("CONFIG", QString::number(i), FileNameFromBytes(names[i]));
  ini.WriteString("CONFIG", "text", QString::fromUtf8("Ärger"));
  ini.Save();
  const QByteArray bytes = ReadBytes(path);
  const IniFile back(path);
  for (int i = 0; i < int(std::size(names)); ++i) {
    EXPECT_TRUE(bytes.contains(QByteArray::fromStdString(names[i]))) << i;
    EXPECT_EQ(FileNameToBytes(back.ReadFileName("CONFIG", QString::number(i), "")), names[i]);
  }
  EXPECT_EQ(back.ReadString("CONFIG", "text", ""), QString::fromUtf8("Ärger"));
}

}  // namespace
}  // namespace kelpra

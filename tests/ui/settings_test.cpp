// The settings file through the window: what the first showing applies and what closing writes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QSlider>
#include <QStatusBar>

#include "core/file_names.h"
#include "core/ini_file.h"
#include "ui_fixture.h"

namespace kelpra::test {
namespace {

using Inspector = TForm1Inspector;

QString SettingsFile(TForm1& form) {
  return Inspector::INIPath(form) + Inspector::INIFile(form);
}

// Creates the windows, writes the settings file (if text is given) and shows the main window, so
// that the first showing reads it.
void StartWith(ViewerFixture& viewer, const QByteArray& text, QStringList arguments = {}) {
  viewer.Create(std::move(arguments));
  if (!text.isNull()) {
    QDir().mkpath(Inspector::INIPath(viewer.form1()));
    QFile file(SettingsFile(viewer.form1()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  viewer.form1().show();
  QApplication::processEvents();
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The ten options in the order of the settings file, popup item and main-menu twin.
std::vector<std::pair<QAction*, QAction*>> Options(TForm1& f) {
  return {{f.PM_S, f.MM_SS}, {f.PM_1, f.MM_S1}, {f.PM_W, f.MM_SW}, {f.PM_H, f.MM_SH},
          {f.PM_R, f.MM_SR}, {f.PM_T, f.MM_ST}, {f.PM_L, f.MM_SL}, {f.PM_D, f.MM_SD},
          {f.PM_M, nullptr}, {f.PM_Y, nullptr}};
}

std::vector<bool> CheckMarks(TForm1& f) {
  std::vector<bool> marks;
  for (const auto& [popup, mainMenu] : Options(f)) {
    marks.push_back(popup->isChecked());
    if (mainMenu) {
      EXPECT_EQ(mainMenu->isChecked(), popup->isChecked()) << mainMenu->objectName().toStdString();
    }
  }
  return marks;
}

TEST(SettingsTest, FirstRunAppliesTheDefaultsAndClosingCreatesTheFile) {
  ViewerFixture viewer;
  StartWith(viewer, QByteArray());
  TForm1& f = viewer.form1();
  TForm2& f2 = viewer.form2();

  EXPECT_EQ(CheckMarks(f),
            (std::vector<bool>{false, false, false, false, false, true, true, false, false, true}));
  EXPECT_EQ(Inspector::NextPicKey(f), 39);
  EXPECT_EQ(Inspector::PrevPicKey(f), 37);
  EXPECT_TRUE(f.MM->isHidden());
  EXPECT_TRUE(f.StatusBar1->isHidden());
  EXPECT_FALSE(f.PM_Z->isEnabled());
  EXPECT_FALSE(f.MM_FZ->isEnabled());
  EXPECT_EQ(f2.Direction, "UP");
  EXPECT_EQ(f2.TrackBarBrightness->value(), 0);
  EXPECT_EQ(f2.TrackBarContrast->value(), 0);
  EXPECT_EQ(f2.TrackBarSharpness->value(), 0);
  EXPECT_EQ(f2.ComboBoxResize->currentIndex(), 1);
  EXPECT_FALSE(f2.CheckBoxMonochrome->isChecked());
  EXPECT_EQ(f.AutoInt, 10);
  EXPECT_EQ(f.frameGeometry(), QRect(576, 324, 768, 432)) << "1920 x 1080 screen";
  EXPECT_TRUE(f.FileList.Empty());
  EXPECT_FALSE(QDir(Inspector::INIPath(f)).exists()) << "reading creates nothing";

  f.close();
  EXPECT_TRUE(Inspector::IsClosing(f));
  EXPECT_TRUE(viewer.dialogs.messages.empty());
  const IniFile ini(SettingsFile(f));
  EXPECT_EQ(ini.ReadString("CONFIG", "WindowState", ""), "wsNormal");
  EXPECT_EQ(ini.ReadInteger("SETTING", "Interval", 0), 10);
}

struct PlacementCase {
  const char* name;
  QSize screen;
  const char* config;  // the [CONFIG] lines
  QRect expected;      // outer bounds; for a maximized window its normal bounds
  bool maximized;
};

class PlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementTest, StoredBoundsComeBackOrTakeTheDefaults) {
  const PlacementCase& c = GetParam();
  ViewerFixture viewer;
  viewer.platform.screenSize = c.screen;
  StartWith(viewer, QByteArray("[CONFIG]\n") + c.config);
  TForm1& f = viewer.form1();
  EXPECT_EQ(f.isMaximized(), c.maximized);
  EXPECT_FALSE(f.isMinimized());
  // The outer bounds of the normal window: its normal geometry with the frame around it.
  const QRect frame = f.frameGeometry();
  const QRect client = f.geometry();
  const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                         frame.right() - client.right(), frame.bottom() - client.bottom());
  const QRect outer = c.maximized ? f.normalGeometry().marginsAdded(margins) : frame;
  EXPECT_EQ(outer, c.expected);
}

constexpr QSize kFullHd(1920, 1080);
constexpr QRect kDefaults(576, 324, 768, 432);

INSTANTIATE_TEST_SUITE_P(
    Cases, PlacementTest,
    ::testing::Values(
        PlacementCase{"stored", kFullHd, "Left=10\nTop=20\nWidth=700\nHeight=500\n",
                      QRect(10, 20, 700, 500), false},
        PlacementCase{"left_off_screen", kFullHd, "Left=-8\nTop=20\nWidth=700\nHeight=500\n",
                      QRect(576, 20, 700, 500), false},
        PlacementCase{"beyond_right_and_bottom", kFullHd,
                      "Left=1920\nTop=1080\nWidth=700\nHeight=500\n", QRect(576, 324, 700, 500),
                      false},
        PlacementCase{"width_zero", kFullHd, "Left=10\nTop=20\nWidth=0\nHeight=500\n",
                      QRect(10, 20, 768, 500), false},
        PlacementCase{"height_negative", kFullHd, "Left=10\nTop=20\nWidth=700\nHeight=-1\n",
                      QRect(10, 20, 700, 432), false},
        PlacementCase{"maximized", kFullHd,
                      "WindowState=wsMaximized\nLeft=10\nTop=20\nWidth=700\nHeight=500\n",
                      kDefaults, true},
        PlacementCase{"minimized", kFullHd,
                      "WindowState=wsMinimized\nLeft=10\nTop=20\nWidth=700\nHeight=500\n",
                      kDefaults, false},
        PlacementCase{"state_is_case_sensitive", kFullHd,
                      "WindowState=WSMAXIMIZED\nLeft=10\nTop=20\nWidth=700\nHeight=500\n",
                      QRect(10, 20, 700, 500), false},
        // 0.3 x 1375 = 412.5 and 0.3 x 1085 = 325.5: halves go to the even neighbour.
        PlacementCase{"ties_to_even", QSize(1375, 1085), "", QRect(412, 326, 550, 434), false},
        // No larger than the screen's available area (1920 x 1040 beside a panel), the
        // position kept: a damaged size must not cost gigabytes at every start.
        PlacementCase{"huge_size", kFullHd, "Left=10\nTop=20\nWidth=60000\nHeight=50000\n",
                      QRect(10, 20, 1920, 1040), false},
        PlacementCase{"just_too_tall", kFullHd, "Left=10\nTop=20\nWidth=1920\nHeight=1041\n",
                      QRect(10, 20, 1920, 1040), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsTest, EffectsAndIntervalAreReadWithTheirRules) {
  struct Case {
    const char* text;
    int brightness, contrast, sharpness, resize, interval;
    const char* direction;
  };
  const Case cases[] = {
      {"[EFFECT]\nBrightness=250\nContrast=-300\nSharpness=80\nResize=12\n[SETTING]\n"
       "Interval=0x1E\n",
       100, -100, 70, -1, 30, "UP"},
      {"[EFFECT]\nBrightness=-5\nContrast=7\nSharpness=-31\nResize=8\nDirection=LEFT\n"
       "[SETTING]\nInterval=abc\n",
       -5, 7, -30, 8, 10, "LEFT"},
      {"[effect]\nresize=-1\nbrightness=$10\ndirection=sideways\n[setting]\ninterval=0\n", 16, 0, 0,
       -1, 0, "sideways"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ViewerFixture viewer;
    StartWith(viewer, c.text);
    TForm2& f2 = viewer.form2();
    EXPECT_EQ(f2.TrackBarBrightness->value(), c.brightness);
    EXPECT_EQ(f2.TrackBarContrast->value(), c.contrast);
    EXPECT_EQ(f2.TrackBarSharpness->value(), c.sharpness);
    EXPECT_EQ(f2.ComboBoxResize->currentIndex(), c.resize);
    EXPECT_EQ(f2.Direction, c.direction);
    EXPECT_EQ(viewer.form1().AutoInt, c.interval);
    EXPECT_EQ(f2.LabelBrightnessValue->text(), QString::number(c.brightness));
    EXPECT_EQ(f2.LabelContrastValue->text(), QString::number(c.contrast));
    EXPECT_EQ(f2.LabelSharpnessValue->text(), QString::number(c.sharpness));
  }
}

TEST(SettingsTest, StoredOptionsSetBothMenusTheArrowKeysAndTheWindow) {
  ViewerFixture viewer;
  StartWith(viewer,
            "[MENU]\nSingle picture=1\nTurn single page=1\nSwap LR=1\nLandscape 1/2=1\n"
            "Subdirectories=1\nStretch=0\nSplitter=0\nDark Background=1\nMenu=1\nCyclic=0\n");
  TForm1& f = viewer.form1();
  EXPECT_EQ(CheckMarks(f),
            (std::vector<bool>{true, true, true, true, true, false, false, true, true, false}));
  EXPECT_EQ(Inspector::NextPicKey(f), 37);
  EXPECT_EQ(Inspector::PrevPicKey(f), 39);
  EXPECT_TRUE(f.PM_Z->isEnabled());
  EXPECT_TRUE(f.MM_FZ->isEnabled());
  EXPECT_EQ(Inspector::WindowColor(f), BackGroundD);
  EXPECT_FALSE(f.MM->isHidden());
  EXPECT_FALSE(f.StatusBar1->isHidden());
}

TEST(SettingsTest, TabletModeKeepsTheMenuHiddenWhateverTheOptionSays) {
  ViewerFixture viewer;
  viewer.platform.tabletMode = true;
  StartWith(viewer, "[MENU]\nMenu=1\n");
  EXPECT_TRUE(viewer.form1().PM_M->isChecked());
  EXPECT_TRUE(viewer.form1().MM->isHidden());
  EXPECT_TRUE(viewer.form1().StatusBar1->isHidden());
}

TEST(SettingsTest, TheStoredLastFileIsListedUnlessAnArgumentIsGiven) {
  ViewerFixture viewer;
  const QStringList pages = viewer.WritePages(3, 40, 60);
  const QByteArray text = "[CONFIG]\nLast file=" + pages[1].toUtf8() + "\n";
  const QString folder = ToQString(viewer.PictureFolder());

  StartWith(viewer, text);
  TForm1& f = viewer.form1();
  EXPECT_EQ(f.FileList.Count(), 3);
  EXPECT_EQ(f.ndxR, 1);
  EXPECT_EQ(Inspector::RootDir(f), folder);
  EXPECT_TRUE(Inspector::FileName(f).isEmpty()) << "only an opened file sets FileName";

  ViewerFixture withArgument;
  const QStringList others = withArgument.WritePages(2, 40, 60, "others");
  StartWith(withArgument, "[CONFIG]\nLast file=" + pages[1].toUtf8() + "\n", {others[1]});
  EXPECT_EQ(withArgument.form1().FileList.Count(), 2);
  EXPECT_EQ(withArgument.form1().FileList[withArgument.form1().ndxR], others[1]);

  ViewerFixture vanished;
  StartWith(vanished, "[CONFIG]\nLast file=" + pages[1].toUtf8() + ".gone\n");
  EXPECT_TRUE(vanished.form1().FileList.Empty());
}

// A relative argument is made a full path first, so that the page stored as the last file is
// found again when the viewer starts from another folder.
TEST(SettingsTest, ARelativeArgumentIsStoredAsAFullPath) {
  ViewerFixture viewer;
  const QStringList pages = viewer.WritePages(3, 40, 60);
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(ToQString(viewer.temp.path())));
  StartWith(viewer, QByteArray(), {QStringLiteral("./pics/p02.png")});
  QDir::setCurrent(before);
  TForm1& f = viewer.form1();
  ASSERT_EQ(f.FileList.Count(), 3);
  EXPECT_EQ(f.FileList[f.ndxR], pages[1]);
  EXPECT_EQ(Inspector::FileName(f), pages[1]);
  EXPECT_EQ(Inspector::RootDir(f), ToQString(viewer.PictureFolder()));
  f.close();
  EXPECT_EQ(IniFile(SettingsFile(f)).ReadString("CONFIG", "Last file", ""), pages[1]);
}

TEST(SettingsTest, ClosingWritesTheFourSectionsInOrderAndKeepsForeignOnes) {
  ViewerFixture viewer;
  const QStringList pages = viewer.WritePages(3, 40, 60);
  StartWith(viewer,
            "; hand-written\n[Mine]\nx=1\n[MENU]\nBogus=1\nStretch=0\n[EFFECT]\nOld=2\n[Later]\n"
            "y=2\n",
            {pages[2]});
  TForm1& f = viewer.form1();
  f.AutoInt = 45;
  viewer.form2().Direction = "RIGHT";
  viewer.form2().TrackBarSharpness->setValue(-12);
  viewer.form2().ComboBoxResize->setCurrentIndex(7);
  viewer.form2().CheckBoxMonochrome->setChecked(true);
  f.ndxR = 1;
  const QRect bounds = f.frameGeometry();
  f.close();

  const QString expected = QStringLiteral(
                               "; hand-written\n[Mine]\nx=1\n[Later]\ny=2\n"
                               "[CONFIG]\nWindowState=wsNormal\nLeft=%1\nTop=%2\nWidth=%3\n"
                               "Height=%4\nLast file=%5\n"
                               "[MENU]\nSingle picture=0\nTurn single page=0\nSwap LR=0\n"
                               "Landscape 1/2=0\nSubdirectories=0\nStretch=0\nSplitter=1\n"
                               "Dark Background=0\nMenu=0\nCyclic=1\n"
                               "[EFFECT]\nDirection=RIGHT\nBrightness=0\nContrast=0\n"
                               "Sharpness=-12\nResize=7\nMonochrome=1\n"
                               "[SETTING]\nInterval=45\n")
                               .arg(bounds.left())
                               .arg(bounds.top())
                               .arg(bounds.width())
                               .arg(bounds.height())
                               .arg(pages[1]);
  EXPECT_EQ(QString::fromUtf8(ReadAll(SettingsFile(f))), expected);
}

TEST(SettingsTest, AHugeStoredSizeIsWrittenBackAsApplied) {
  ViewerFixture viewer;
  StartWith(viewer, "[CONFIG]\nLeft=10\nTop=20\nWidth=60000\nHeight=50000\n");
  viewer.form1().close();
  const IniFile ini(SettingsFile(viewer.form1()));
  EXPECT_EQ(ini.ReadInteger("CONFIG", "Width", 0), 1920);
  EXPECT_EQ(ini.ReadInteger("CONFIG", "Height", 0), 1040);
}

TEST(SettingsTest, AMaximizedWindowIsStoredAsSuch) {
  ViewerFixture viewer;
  StartWith(viewer, "[CONFIG]\nWindowState=wsMaximized\n");
  viewer.form1().close();
  EXPECT_EQ(IniFile(SettingsFile(viewer.form1())).ReadString("CONFIG", "WindowState", ""),
            "wsMaximized");
}

TEST(SettingsTest, AFolderThatCannotBeCreatedIsReportedAndTheCloseGoesOn) {
  ViewerFixture viewer;
  viewer.Create();
  TForm1& f = viewer.form1();
  QString folder = Inspector::INIPath(f);
  folder.chop(1);
  QFile blocker(folder);  // a file where the folder should be
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  f.show();
  QApplication::processEvents();
  f.close();

  EXPECT_EQ(viewer.dialogs.MessagesOf("ErrorAbort"),
            std::vector<QString>{"<" + Inspector::INIPath(f) +
                                 "> creation error.\r\nConfigurations may not be saved."});
  EXPECT_TRUE(Inspector::IsClosing(f));
  EXPECT_TRUE(QFileInfo(folder).isFile());
}

TEST(SettingsTest, AFileThatCannotBeWrittenIsReportedAndTheOldOneStays) {
  ViewerFixture viewer;
  StartWith(viewer, "[SETTING]\nInterval=33\n");
  TForm1& f = viewer.form1();
  // A non-empty folder in the file's place cannot be replaced, even by root.
  const QString file = SettingsFile(f);
  ASSERT_TRUE(QFile::remove(file));
  ASSERT_TRUE(QDir().mkpath(file + "/keep"));
  f.AutoInt = 5;
  f.close();

  const auto errors = viewer.dialogs.MessagesOf("ShowError");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(errors[0].contains(file)) << errors[0].toStdString();
  EXPECT_TRUE(Inspector::IsClosing(f));
  EXPECT_TRUE(QDir(file + "/keep").exists()) << "nothing was overwritten";
}

// A FIFO in the settings file's place would block the start: the viewer says so, starts with the
// defaults and leaves the FIFO alone at the close.
TEST(SettingsTest, AFifoInPlaceOfTheFileIsNamedAndTheDefaultsApply) {
  ViewerFixture viewer;
  viewer.Create();
  TForm1& f = viewer.form1();
  const QString file = SettingsFile(f);
  ASSERT_TRUE(QDir().mkpath(Inspector::INIPath(f)));
  ASSERT_EQ(mkfifo(QFile::encodeName(file).constData(), 0644), 0);
  f.show();
  QApplication::processEvents();
  EXPECT_EQ(viewer.dialogs.MessagesOf("ShowError"),
            std::vector<QString>{"Cannot read " + file +
                                 ": it is not a regular file\r\nThe default settings are used."});
  EXPECT_TRUE(f.PM_T->isChecked()) << "Stretch is on by default";
  EXPECT_EQ(f.AutoInt, 10);

  f.close();
  EXPECT_EQ(viewer.dialogs.MessagesOf("ShowError").size(), 2u);
  EXPECT_TRUE(viewer.dialogs.MessagesOf("ShowError").back().startsWith("Cannot write " + file));
  EXPECT_TRUE(Inspector::IsClosing(f));
  EXPECT_TRUE(QFileInfo(file).isFile() == false && QFileInfo::exists(file)) << "still the FIFO";
}

// The last page comes back by the bytes of its name, also when they are not UTF-8.
TEST(SettingsTest, TheLastFileComesBackByTheBytesOfItsName) {
  ViewerFixture first;
  const QString page = first.WritePage("caf\xe9.png", 30, 40);
  first.WritePage("caf\xe8.png", 30, 40);
  first.Show(QSize(300, 200), {page});
  first.form1().close();
  const QByteArray stored = ReadAll(SettingsFile(first.form1()));
  EXPECT_TRUE(
      stored.contains("Last file=" + QByteArray::fromStdString(FileNameToBytes(page)) + "\n"));

  ViewerFixture second;
  StartWith(second, stored);
  ASSERT_EQ(second.form1().FileList.Count(), 2);
  EXPECT_EQ(second.form1().FileList[second.form1().ndxR], page);
}

}  // namespace
}  // namespace kelpra::test

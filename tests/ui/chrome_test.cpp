// The window's frame: both menus as the user sees them, the menu rule under tablet mode, the
// popup's pause of auto-turn, the window colour and the plain commands.
#include <gtest/gtest.h>

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include "input_probe.h"
#include "ui/image_control.h"

namespace kelpra::test {
namespace {

// "name|caption|hint" per item, "-" for a separator.
QStringList Items(const QMenu* menu) {
  QStringList items;
  for (const QAction* a : menu->actions())
    items << (a->isSeparator() ? QStringLiteral("-")
                               : a->objectName() + '|' + a->text() + '|' + a->statusTip());
  return items;
}

TEST(MenuTest, MainMenuItemsCaptionsAndHintsInOrder) {
  ViewerFixture viewer;
  viewer.Create();
  TForm1& f = viewer.form1();
  QStringList titles;
  for (const QAction* a : f.MM->actions())
    titles << a->text();
  EXPECT_EQ(titles, QStringList({"File (&F)", "Navigate (&N)", "Settings (&S)", "Help (&H)"}));
  EXPECT_EQ(
      Items(f.MM_F),
      QStringList({"MM_FO|Open (&O)|Open image file.", "MM_FC|Clear (&C)|Clear canvas.",
                   "MM_FF|Folder (&F)|Open folder.", "MM_FR|Reload (&R)|", "MM_FP|Parent Dir (&P)|",
                   "-", "MM_FN|Save (&N)|", "MM_FZ|Delete (&Z)|Delete current image.", "-",
                   "MM_FX|Exit (&X)|Exit Kelpra."}));
  EXPECT_EQ(Items(f.MM_N), QStringList({"MM_NN|Next Picture (&N)|Show next picture.",
                                        "MM_NP|Previous Picture (&P)|Show previous picture.", "-",
                                        "MM_NL|Rotate Left (&L)|Rotate image 90deg. left.",
                                        "MM_NR|Rotate Right (&R)|Rotate image 90deg. right.",
                                        "MM_NU|Upright (&U)|Upright image."}));
  EXPECT_EQ(
      Items(f.MM_S),
      QStringList({"MM_SP|Picture effects (&P)|Open [Picture Effects] dialog.", "-",
                   "MM_SS|Single picture (&S)|Show each image.",
                   "MM_S1|Turn single page (&1)|Turn single page whether images convined.",
                   "MM_SW|Swap LR (&W)|Swap left and right sweep.",
                   "MM_SH|Landscape 1/2 (&H)|Divide landscape image as single left and right page.",
                   "MM_SR|Subdirectories (&R)|Show images in subdirectories.",
                   "MM_ST|Stretch (&T)|Resize image to fit to canvas.",
                   "MM_SL|Splitter (&L)|Show splitter when images convined.",
                   "MM_SD|Dark Background (&D)|Dark background color.",
                   "Pageturninterval1|Page turn interval (&N)|", "-",
                   "MM_SM|Hide Menu (&M)|Hide main menu and status bar."}));
  EXPECT_EQ(Items(f.MM_H), QStringList({"MM_HV|Version (&V)|Show version information."}));
}

TEST(MenuTest, PopupMenuItemsInOrderWithoutHints) {
  ViewerFixture viewer;
  viewer.Create();
  EXPECT_EQ(Items(viewer.form1().PM), QStringList({"PM_O|Open (&O)|",
                                                   "PM_C|Clear (&C)|",
                                                   "PM_F|Folder (&F)|",
                                                   "-",
                                                   "PM_Re|Reload files (&R)|",
                                                   "PM_Rp|Reload parent dir (&P)|",
                                                   "-",
                                                   "PM_P|Picture effects (&P)|",
                                                   "-",
                                                   "Action30AutoTurn1|Auto Turn (&A)|",
                                                   "PM_Y|Cyclic (&Y)|",
                                                   "PM_S|Single picture (&S)|",
                                                   "PM_1|Turn single page (&1)|",
                                                   "PM_W|Swap LR (&W)|",
                                                   "PM_H|Landscape 1/2 (&H)|",
                                                   "PM_R|Subdirectories (&R)|",
                                                   "PM_T|Stretch (&T)|",
                                                   "PM_L|Splitter (&L)|",
                                                   "PM_D|Dark Background (&D)|",
                                                   "-",
                                                   "WallPaper1|WallPaper (&K)|",
                                                   "SaveV1|Save (&N)|",
                                                   "PM_Z|Delete (&Z)|",
                                                   "-",
                                                   "PM_M|Menu (&M)|",
                                                   "PM_V|Version (&V)|",
                                                   "PM_X|Exit (&X)|"}));
}

TEST(MenuTest, CheckMarksAreMirroredWhicheverItemIsChosen) {
  ViewerFixture viewer;
  viewer.Show(QSize(400, 300));
  TForm1& f = viewer.form1();
  const std::pair<QAction*, QAction*> pairs[] = {
      {f.PM_S, f.MM_SS}, {f.PM_1, f.MM_S1}, {f.PM_W, f.MM_SW}, {f.PM_H, f.MM_SH},
      {f.PM_R, f.MM_SR}, {f.PM_T, f.MM_ST}, {f.PM_L, f.MM_SL}, {f.PM_D, f.MM_SD}};
  for (const auto& [popup, main] : pairs) {
    const bool start = popup->isChecked();
    EXPECT_EQ(main->isChecked(), start) << popup->objectName().toStdString();
    popup->trigger();
    EXPECT_EQ(popup->isChecked(), !start) << popup->objectName().toStdString();
    EXPECT_EQ(main->isChecked(), !start) << main->objectName().toStdString();
    main->trigger();
    EXPECT_EQ(popup->isChecked(), start) << main->objectName().toStdString();
    EXPECT_EQ(main->isChecked(), start) << main->objectName().toStdString();
  }
}

TEST(MenuTest, HintsAppearInTheStatusBar) {
  ViewerFixture viewer;
  viewer.Show(QSize(400, 300));
  TForm1& f = viewer.form1();
  f.PM_M->trigger();  // menu and status bar on
  ASSERT_TRUE(f.StatusBar1->isVisible());
  for (QAction* item : {f.MM_FO, f.MM_NL, f.MM_SM, f.MM_HV}) {
    item->showStatusText(f.MM);  // as hovering it does: a menu reports through its menu bar
    EXPECT_EQ(f.StatusBar1->currentMessage(), item->statusTip());
  }
}

bool MenuShown(TForm1& f) {
  return f.MM->isVisible() && f.StatusBar1->isVisible();
}
bool MenuHidden(TForm1& f) {
  return !f.MM->isVisible() && !f.StatusBar1->isVisible();
}

TEST(MenuRuleTest, MenuItemShowsAndHidesMenuAndStatusBarAndRendersForTheNewSize) {
  ViewerFixture viewer;
  const QStringList pages = viewer.WritePages(3, 80, 60);
  viewer.Show(QSize(400, 300), {pages[0]});
  TForm1& f = viewer.form1();
  EXPECT_TRUE(MenuHidden(f));  // "Menu" is off by default
  EXPECT_TRUE(f.PM_M->isEnabled());
  f.Action30AutoTurn->setChecked(true);  // paused: the Menu item re-arms
  f.PM_M->trigger();
  EXPECT_TRUE(f.PM_M->isChecked());
  EXPECT_TRUE(MenuShown(f));
  EXPECT_TRUE(f.Timer1->isActive());
  const QSize client = f.ClientSize();
  EXPECT_LT(client.height(), 300);
  // Rendered for the smaller client area: the page is centred in it.
  EXPECT_EQ(f.Image1->Bounds().y(), (client.height() - f.Image1->Bounds().height()) / 2);

  f.Timer1->stop();
  f.MM_SM->trigger();  // Hide Menu
  EXPECT_FALSE(f.PM_M->isChecked());
  EXPECT_TRUE(MenuHidden(f));
  EXPECT_FALSE(f.Timer1->isActive()) << "Hide Menu leaves the timer alone";
  EXPECT_EQ(f.ClientSize().height(), 300);
  EXPECT_EQ(f.Image1->Bounds().y(), (300 - f.Image1->Bounds().height()) / 2);
}

TEST(MenuRuleTest, StartedInTabletModeShowsNoMenu) {
  ViewerFixture viewer;
  viewer.platform.tabletMode = true;
  viewer.Show(QSize(400, 300));
  TForm1& f = viewer.form1();
  EXPECT_TRUE(TForm1Inspector::TabletMode(f));
  EXPECT_FALSE(f.PM_M->isEnabled());
  EXPECT_TRUE(MenuHidden(f));
}

struct SettingChangeCase {
  const char* name;
  bool menuOption;
  bool tabletMode;
  bool menuShown;
};

class SettingChangeTest : public testing::TestWithParam<SettingChangeCase> {};

TEST_P(SettingChangeTest, WaitsRereadsAndAppliesTheMenuRule) {
  const SettingChangeCase& c = GetParam();
  ViewerFixture viewer;
  viewer.Show(QSize(400, 300));
  TForm1& f = viewer.form1();
  if (c.menuOption)
    f.PM_M->trigger();
  viewer.platform.tabletMode = c.tabletMode;
  viewer.platform.FireSettingChange();
  EXPECT_EQ(viewer.platform.sleeps, std::vector<int>{500});
  EXPECT_EQ(TForm1Inspector::TabletMode(f), c.tabletMode);
  EXPECT_EQ(f.PM_M->isEnabled(), !c.tabletMode);
  EXPECT_EQ(f.PM_M->isChecked(), c.menuOption) << "tablet mode never changes the option";
  EXPECT_TRUE(c.menuShown ? MenuShown(f) : MenuHidden(f));

  // And back to the desktop: the option alone decides again.
  viewer.platform.tabletMode = false;
  viewer.platform.FireSettingChange();
  EXPECT_TRUE(f.PM_M->isEnabled());
  EXPECT_TRUE(c.menuOption ? MenuShown(f) : MenuHidden(f));
}

INSTANTIATE_TEST_SUITE_P(Chrome, SettingChangeTest,
                         testing::Values(SettingChangeCase{"menu_on_desktop", true, false, true},
                                         SettingChangeCase{"menu_on_tablet", true, true, false},
                                         SettingChangeCase{"menu_off_desktop", false, false, false},
                                         SettingChangeCase{"menu_off_tablet", false, true, false}),
                         [](const testing::TestParamInfo<SettingChangeCase>& info) {
                           return info.param.name;
                         });

TEST(PopupTest, OpeningThePopupPausesAutoTurnAndKeepsItsCheckMark) {
  ViewerFixture viewer;
  const QStringList pages = viewer.WritePages(3, 80, 60);
  viewer.Show(QSize(400, 300), {pages[0]});
  TForm1& f = viewer.form1();
  viewer.Run(&TForm1::Action30AutoTurnExecute);
  ASSERT_TRUE(f.Timer1->isActive());
  viewer.Run(&TForm1::Action16PopupMenuExecute);
  EXPECT_TRUE(f.PM->isVisible());
  EXPECT_FALSE(f.Timer1->isActive());
  EXPECT_TRUE(f.Action30AutoTurn->isChecked());
  EXPECT_TRUE(f.Action30AutoTurn1->isChecked());
  viewer.Run(&TForm1::Action17CloseMenuExecute);
  EXPECT_FALSE(f.PM->isVisible());
  EXPECT_TRUE(f.Timer1->isActive());
}

std::array<int, 3> PixelBgr(const TBitmap& bitmap, int x, int y) {
  const std::uint8_t* p = bitmap.ScanLine(y) + 3 * x;
  return {p[0], p[1], p[2]};
}

TEST(DarkBackgroundTest, SwitchesTheWindowColourAndRedrawsTheIdleCanvas) {
  ViewerFixture viewer;
  viewer.Show(QSize(400, 300));
  TForm1& f = viewer.form1();
  f.Action30AutoTurn->setChecked(true);  // paused: the command re-arms
  f.PM_D->trigger();
  EXPECT_TRUE(f.PM_D->isChecked());
  EXPECT_TRUE(f.MM_SD->isChecked());
  EXPECT_EQ(f.WindowColor(), BackGroundD);
  EXPECT_EQ(f.centralWidget()->palette().color(QPalette::Window), QColor(128, 128, 128));
  EXPECT_EQ(PixelBgr(f.DisplayedPicture(), 0, 0), (std::array<int, 3>{128, 128, 128}));
  EXPECT_TRUE(f.Timer1->isActive());

  f.MM_SD->trigger();
  EXPECT_FALSE(f.PM_D->isChecked());
  EXPECT_EQ(f.WindowColor(), BackGroundL);
  EXPECT_EQ(f.centralWidget()->palette().color(QPalette::Window), QColor(255, 251, 240));
  EXPECT_EQ(PixelBgr(f.DisplayedPicture(), 0, 0), (std::array<int, 3>{240, 251, 255}));
}

TEST(VersionTest, ShowsTheBuildTagAndVersionThenRearms) {
  ViewerFixture viewer;
  viewer.Show(QSize(400, 300));
  TForm1& f = viewer.form1();
  f.Action30AutoTurn->setChecked(true);
  f.PM_V->trigger();
  const QString tag =
      sizeof(void*) == 8 ? QStringLiteral(" (64bit) ") : QStringLiteral(" (32bit) ");
  // An information box centred on the screen, not on the window.
  EXPECT_EQ(viewer.dialogs.MessagesOf("InformationOnScreen"),
            std::vector<QString>{"[Kelpra]" + tag + "\r\n" + QString::fromUtf8(Version1)});
  EXPECT_TRUE(viewer.dialogs.MessagesOf("Information").empty());
  EXPECT_TRUE(QString::fromUtf8(Version1).startsWith("Version 0.3.3b"));
  EXPECT_TRUE(f.Timer1->isActive());
}

TEST(ExitTest, ExitClosesTheWindowAndStoresTheSettings) {
  ViewerFixture viewer;
  viewer.Show(QSize(400, 300));
  TForm1& f = viewer.form1();
  f.PM_X->trigger();
  EXPECT_FALSE(f.isVisible());
  EXPECT_TRUE(TForm1Inspector::IsClosing(f));
}

TEST(EffectsTest, RendersAfterTheDialogClosesHoweverItCloses) {
  ViewerFixture viewer;
  const QStringList pages = viewer.WritePages(5, 80, 60);
  viewer.Show(QSize(400, 300), {pages[0]});
  TForm1& f = viewer.form1();
  f.ndxR = 3;  // not rendered yet
  QTimer::singleShot(0, &viewer.form2(), [&] {
    EXPECT_TRUE(viewer.form2().isVisible());
    viewer.form2().reject();
  });
  f.MM_SP->trigger();
  EXPECT_FALSE(viewer.form2().isVisible());
  EXPECT_TRUE(viewer.Caption().endsWith(QStringLiteral("4/5"))) << viewer.Caption().toStdString();
}

}  // namespace
}  // namespace kelpra::test

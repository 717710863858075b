// Keys, taps, long taps and drags on the main window, delivered as Qt events.
#include <gtest/gtest.h>

#include <QFile>
#include <QKeyEvent>
#include <QMenuBar>
#include <QTest>

#include <QStatusBar>
#include "input_probe.h"

#include "ui/image_control.h"

namespace kelpra::test {
namespace {

struct KeyCase {
  const char* name;
  int key;
  Qt::KeyboardModifiers modifiers;
  Effect effect;
  quint32 scanCode = 0;
};

void PrintTo(const KeyCase& c, std::ostream* os) {
  *os << c.name;
}

// A key event on the picture, as the window system sends it: the window sees every key pressed
// and released while it is active.
void SendKey(ViewerFixture& viewer, QEvent::Type type, const KeyCase& c, quint64 timestamp = 0,
             bool autoRepeat = false) {
  QKeyEvent event(type, c.key, c.modifiers, c.scanCode, 0, 0, QString(), autoRepeat);
  event.setTimestamp(timestamp);
  QApplication::sendEvent(viewer.form1().Image1, &event);
}

void ReleaseKey(ViewerFixture& viewer, const KeyCase& c, quint64 timestamp = 0) {
  SendKey(viewer, QEvent::KeyRelease, c, timestamp);
  LetKeyReleasesAct(viewer.form1());
}

// Pressed and released on the picture.
void TypeKey(ViewerFixture& viewer, const KeyCase& c) {
  SendKey(viewer, QEvent::KeyPress, c);
  ReleaseKey(viewer, c);
}

constexpr auto None = Qt::NoModifier;
constexpr auto Pad = Qt::KeypadModifier;

class FullListKeyTest : public testing::TestWithParam<KeyCase> {};

TEST_P(FullListKeyTest, RunsTheKeysCommand) {
  ViewerFixture viewer;
  ShowFivePages(viewer);
  const Snapshot before = Take(viewer);
  TypeKey(viewer, GetParam());
  EXPECT_EQ(Take(viewer), Expected(GetParam().effect, before, viewer.form1()));
  EXPECT_TRUE(viewer.dialogs.messages.empty());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the hourglass must be gone";
}

INSTANTIATE_TEST_SUITE_P(
    Keys, FullListKeyTest,
    testing::Values(
        KeyCase{"Right_turns_forward", Qt::Key_Right, None, Effect::Next},
        KeyCase{"Left_turns_back", Qt::Key_Left, None, Effect::Previous},
        KeyCase{"Space_turns_forward", Qt::Key_Space, None, Effect::Next},
        KeyCase{"Up_opens_the_popup", Qt::Key_Up, None, Effect::PopupMenu},
        KeyCase{"Down_closes_menus", Qt::Key_Down, None, Effect::CloseMenu},
        KeyCase{"Delete_clears_the_list", Qt::Key_Delete, None, Effect::Clear},
        KeyCase{"1_left", Qt::Key_1, None, Effect::RotateLeft},
        KeyCase{"4_left", Qt::Key_4, None, Effect::RotateLeft},
        KeyCase{"7_left", Qt::Key_7, None, Effect::RotateLeft},
        KeyCase{"pad1_left", Qt::Key_1, Pad, Effect::RotateLeft},
        KeyCase{"pad4_left", Qt::Key_4, Pad, Effect::RotateLeft},
        KeyCase{"pad7_left", Qt::Key_7, Pad, Effect::RotateLeft},
        KeyCase{"3_right", Qt::Key_3, None, Effect::RotateRight},
        KeyCase{"6_right", Qt::Key_6, None, Effect::RotateRight},
        KeyCase{"9_right", Qt::Key_9, None, Effect::RotateRight},
        KeyCase{"pad3_right", Qt::Key_3, Pad, Effect::RotateRight},
        KeyCase{"pad6_right", Qt::Key_6, Pad, Effect::RotateRight},
        KeyCase{"pad9_right", Qt::Key_9, Pad, Effect::RotateRight},
        KeyCase{"2_upright", Qt::Key_2, None, Effect::Upright},
        KeyCase{"5_upright", Qt::Key_5, None, Effect::Upright},
        KeyCase{"8_upright", Qt::Key_8, None, Effect::Upright},
        KeyCase{"pad2_upright", Qt::Key_2, Pad, Effect::Upright},
        KeyCase{"pad5_upright", Qt::Key_5, Pad, Effect::Upright},
        KeyCase{"pad8_upright", Qt::Key_8, Pad, Effect::Upright},
        KeyCase{"A_toggles_stretch", Qt::Key_A, None, Effect::ToggleStretch},
        KeyCase{"C_with_stretch_on_does_nothing", Qt::Key_C, None, Effect::Nothing},
        KeyCase{"M_opens_the_popup_further_right", Qt::Key_M, None, Effect::PopupAtMKey},
        KeyCase{"N_stops_a_running_auto_turn", Qt::Key_N, None, Effect::StopAutoTurn},
        KeyCase{"Z_closes", Qt::Key_Z, None, Effect::CloseWindow},
        KeyCase{"X_closes", Qt::Key_X, None, Effect::CloseWindow},
        // Modifiers change nothing.
        KeyCase{"Shift_Right", Qt::Key_Right, Qt::ShiftModifier, Effect::Next},
        KeyCase{"Ctrl_Space", Qt::Key_Space, Qt::ControlModifier, Effect::Next},
        KeyCase{"Alt_A", Qt::Key_A, Qt::AltModifier, Effect::ToggleStretch},
        KeyCase{"Ctrl_Shift_Z", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier,
                Effect::CloseWindow},
        // Shift+1 reports "!"; the key's position still names the 1 key.
        KeyCase{"Shift_1", Qt::Key_Exclam, Qt::ShiftModifier, Effect::RotateLeft, 10},
        KeyCase{"Shift_9", Qt::Key_ParenLeft, Qt::ShiftModifier, Effect::RotateRight, 18},
        // Unmapped keys.
        KeyCase{"0", Qt::Key_0, None, Effect::Nothing},
        KeyCase{"pad0", Qt::Key_0, Pad, Effect::Nothing},
        KeyCase{"F9", Qt::Key_F9, None, Effect::Nothing},
        KeyCase{"F11", Qt::Key_F11, None, Effect::Nothing},
        KeyCase{"pad_minus", Qt::Key_Minus, Pad, Effect::Nothing},
        KeyCase{"pad_decimal", Qt::Key_Period, Pad, Effect::Nothing},
        KeyCase{"B", Qt::Key_B, None, Effect::Nothing},
        KeyCase{"Escape", Qt::Key_Escape, None, Effect::Nothing}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

class EmptyListKeyTest : public testing::TestWithParam<KeyCase> {};

TEST_P(EmptyListKeyTest, OnlyOpensOrClosesTheMenu) {
  ViewerFixture viewer;
  viewer.Show(QSize(400, 300));
  viewer.form1().move(0, 0);
  viewer.form1().Action30AutoTurn->setChecked(true);  // paused: Close Menu re-arms
  viewer.form2().Direction = QStringLiteral("DOWN");
  const Snapshot before = Take(viewer);
  TypeKey(viewer, GetParam());
  EXPECT_EQ(Take(viewer), Expected(GetParam().effect, before, viewer.form1()));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, EmptyListKeyTest,
    testing::Values(KeyCase{"Left", Qt::Key_Left, None, Effect::PopupMenu},
                    KeyCase{"Right", Qt::Key_Right, None, Effect::PopupMenu},
                    KeyCase{"Up", Qt::Key_Up, None, Effect::PopupMenu},
                    KeyCase{"Space", Qt::Key_Space, None, Effect::PopupMenu},
                    KeyCase{"M_at_the_commands_point", Qt::Key_M, None, Effect::PopupMenu},
                    KeyCase{"Down", Qt::Key_Down, None, Effect::CloseMenu},
                    KeyCase{"Delete", Qt::Key_Delete, None, Effect::Nothing},
                    KeyCase{"1", Qt::Key_1, None, Effect::Nothing},
                    KeyCase{"A", Qt::Key_A, None, Effect::Nothing},
                    KeyCase{"N", Qt::Key_N, None, Effect::Nothing},
                    KeyCase{"Z", Qt::Key_Z, None, Effect::Nothing}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST(KeyTest, ActsOnReleaseOnlyAndIgnoresAutoRepeat) {
  ViewerFixture viewer;
  ShowFivePages(viewer);
  const KeyCase right{"Right", Qt::Key_Right, None, Effect::Next};
  SendKey(viewer, QEvent::KeyPress, right);
  LetKeyReleasesAct(viewer.form1());
  EXPECT_EQ(viewer.form1().ndxR, 2);
  SendKey(viewer, QEvent::KeyRelease, right, 0, /*autoRepeat=*/true);
  SendKey(viewer, QEvent::KeyPress, right, 0, /*autoRepeat=*/true);
  LetKeyReleasesAct(viewer.form1());
  EXPECT_EQ(viewer.form1().ndxR, 2);
  ReleaseKey(viewer, right);
  EXPECT_EQ(viewer.form1().ndxR, 3);
}

// X11 repeats a held key as release and press pairs with one time stamp; when the machine is
// busy Qt does not always flag them as repeats. However the pairs come, holding acts once, on
// the final release.
TEST(KeyTest, ReleaseAndPressWithOneTimeStampIsARepeat) {
  ViewerFixture viewer;
  ShowFivePages(viewer);
  const KeyCase right{"Right", Qt::Key_Right, None, Effect::Next};
  SendKey(viewer, QEvent::KeyPress, right, 1000);
  for (quint64 t = 1500; t < 1700; t += 40) {
    SendKey(viewer, QEvent::KeyRelease, right, t);
    SendKey(viewer, QEvent::KeyPress, right, t);
    LetKeyReleasesAct(viewer.form1());
    EXPECT_EQ(viewer.form1().ndxR, 2) << "repeat at " << t;
  }
  ReleaseKey(viewer, right, 1710);
  EXPECT_EQ(viewer.form1().ndxR, 3);
}

// Qt recognises some pairs of a hold and not others: a pair it misses soon after one it caught
// is still part of the hold that began with the first press.
TEST(KeyTest, PairsQtRecognisedStillBelongToTheHold) {
  ViewerFixture viewer;
  ShowFivePages(viewer);
  const KeyCase right{"Right", Qt::Key_Right, None, Effect::Next};
  SendKey(viewer, QEvent::KeyPress, right, 1000);
  SendKey(viewer, QEvent::KeyRelease, right, 1660, /*autoRepeat=*/true);
  SendKey(viewer, QEvent::KeyPress, right, 1660, /*autoRepeat=*/true);
  SendKey(viewer, QEvent::KeyRelease, right, 1700);
  SendKey(viewer, QEvent::KeyPress, right, 1700);
  LetKeyReleasesAct(viewer.form1());
  EXPECT_EQ(viewer.form1().ndxR, 2);
  ReleaseKey(viewer, right, 1720);
  LetKeyReleasesAct(viewer.form1());
  EXPECT_EQ(viewer.form1().ndxR, 3);
}

TEST(KeyTest, QuickTypingIsNoRepeat) {
  ViewerFixture viewer;
  ShowFivePages(viewer);
  const KeyCase right{"Right", Qt::Key_Right, None, Effect::Next};
  // Both presses and releases handled in one go, as a busy window does.
  for (const quint64 t : {1000, 1100}) {
    SendKey(viewer, QEvent::KeyPress, right, t);
    SendKey(viewer, QEvent::KeyRelease, right, t + 50);
  }
  LetKeyReleasesAct(viewer.form1());
  EXPECT_EQ(viewer.form1().ndxR, 4);
}

// A release sooner after its press than any keyboard repeats acts at once; a later one, or one
// without a time stamp, waits for a possible repeat's press first.
TEST(KeyTest, OnlyAReleaseThatMayBeARepeatWaits) {
  struct Case {
    const char* name;
    quint64 pressedAt, releasedAt;
    bool actsAtOnce;
  };
  for (const Case& c : {Case{"tap", 1000, 1080, true}, Case{"just under", 1000, 1199, true},
                        Case{"held", 1000, 1200, false}, Case{"no time stamp", 0, 0, false}}) {
    SCOPED_TRACE(c.name);
    ViewerFixture viewer;
    ShowFivePages(viewer);
    const KeyCase right{"Right", Qt::Key_Right, None, Effect::Next};
    SendKey(viewer, QEvent::KeyPress, right, c.pressedAt);
    SendKey(viewer, QEvent::KeyRelease, right, c.releasedAt);
    EXPECT_EQ(viewer.form1().ndxR, c.actsAtOnce ? 3 : 2);
    LetKeyReleasesAct(viewer.form1());
    EXPECT_EQ(viewer.form1().ndxR, 3);
  }
}

// A release is a command only when the window received the key's press too: a menu that takes
// the press leaves its release alone.
TEST(KeyTest, AReleaseWithoutItsPressDoesNothing) {
  for (const KeyCase& c : {KeyCase{"Right", Qt::Key_Right, None, Effect::Nothing},
                           KeyCase{"A", Qt::Key_A, None, Effect::Nothing},
                           KeyCase{"1", Qt::Key_1, None, Effect::Nothing},
                           KeyCase{"N", Qt::Key_N, None, Effect::Nothing},
                           KeyCase{"Z", Qt::Key_Z, None, Effect::Nothing}}) {
    ViewerFixture viewer;
    ShowFivePages(viewer);
    const Snapshot before = Take(viewer);
    ReleaseKey(viewer, c);
    EXPECT_EQ(Take(viewer), before) << c.name;
  }
}

// An access key chooses its popup item on the press; the release is not the window's.
struct AccessKeyCase {
  const char* name;
  Qt::Key key;
  bool autoTurn, stretch, turnSingle;
  QString direction;
  // Delete asks no question when the current file is gone: the menu item is all Z does.
  bool currentFileGone = false;
};

void PrintTo(const AccessKeyCase& c, std::ostream* os) {
  *os << c.name;
}

class AccessKeyTest : public testing::TestWithParam<AccessKeyCase> {};

TEST_P(AccessKeyTest, RunsOnlyTheMenuItem) {
  ViewerFixture viewer;
  const QStringList pages = viewer.WritePages(5, 80, 60);
  viewer.Show(QSize(400, 300), {pages[2]});
  viewer.form1().move(0, 0);
  TForm1& form = viewer.form1();
  const AccessKeyCase& c = GetParam();
  if (c.currentFileGone) {
    viewer.Run(&TForm1::Action04ShowSingleExecute);  // Delete is offered on single pages only
    ASSERT_TRUE(QFile::remove(pages[2]));
  }
  TypeKey(viewer, {"M", Qt::Key_M, None, Effect::PopupAtMKey});
  ASSERT_TRUE(form.PM->isVisible());
  QTest::keyPress(form.PM, c.key);
  EXPECT_FALSE(form.PM->isVisible()) << "the press chose the item";
  ReleaseKey(viewer, {c.name, c.key, None, Effect::Nothing});
  EXPECT_EQ(form.Action30AutoTurn->isChecked(), c.autoTurn);
  EXPECT_EQ(form.PM_T->isChecked(), c.stretch);
  EXPECT_EQ(form.PM_1->isChecked(), c.turnSingle);
  EXPECT_EQ(viewer.form2().Direction, c.direction);
  EXPECT_TRUE(form.isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, AccessKeyTest,
    testing::Values(AccessKeyCase{"A_auto_turn", Qt::Key_A, true, true, false, "UP"},
                    AccessKeyCase{"1_turn_single_page", Qt::Key_1, false, true, true, "UP"},
                    AccessKeyCase{"Z_delete_without_a_question", Qt::Key_Z, false, true, false,
                                  "UP", true}),
    [](const testing::TestParamInfo<AccessKeyCase>& info) { return std::string(info.param.name); });

// Once a menu of the bar has been used by its keys, the letters are the window's keys again.
TEST(KeyTest, AfterTheMainMenuLettersAreTheWindowsKeys) {
  ViewerFixture viewer;
  const QStringList pages = viewer.WritePages(5, 80, 60);
  viewer.Show(QSize(400, 300), {pages[2]});
  TForm1& form = viewer.form1();
  form.PM_M->trigger();  // the main menu shown
  ASSERT_TRUE(form.MM->isVisible());
  // Alt+N opens "Navigate"; N there chooses Next Picture.
  QTest::keyClick(&form, Qt::Key_N, Qt::AltModifier);
  ASSERT_TRUE(form.MM_N->isVisible());
  QTest::keyPress(form.MM_N, Qt::Key_N);
  ReleaseKey(viewer, {"N", Qt::Key_N, None, Effect::Nothing});
  EXPECT_EQ(form.ndxR, 3);
  EXPECT_FALSE(form.Action30AutoTurn->isChecked()) << "the release ran the window's N too";
  // Now N is the window's Auto Turn, and no menu opens.
  TypeKey(viewer, {"N", Qt::Key_N, None, Effect::Nothing});
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  EXPECT_TRUE(form.Action30AutoTurn->isChecked());
}

TEST(KeyTest, ArrowsFollowSwapLR) {
  ViewerFixture viewer;
  ShowFivePages(viewer);
  viewer.Run(&TForm1::Action06SwapLRExecute);
  TypeKey(viewer, {"left", Qt::Key_Left, None, Effect::Next});
  EXPECT_EQ(viewer.form1().ndxR, 3);
  TypeKey(viewer, {"right", Qt::Key_Right, None, Effect::Previous});
  TypeKey(viewer, {"right", Qt::Key_Right, None, Effect::Previous});
  EXPECT_EQ(viewer.form1().ndxR, 1);
  TypeKey(viewer, {"space", Qt::Key_Space, None, Effect::Next});
  EXPECT_EQ(viewer.form1().ndxR, 2);
}

TEST(KeyTest, CCentresAPannedPictureWithStretchOff) {
  ViewerFixture viewer;
  ShowFivePages(viewer);
  viewer.Run(&TForm1::Action08StretchExecute);  // off
  ImageControl* image = viewer.form1().Image1;
  const QPoint centred = image->Bounds().topLeft();
  image->MoveTo(centred + QPoint(37, -11));
  TypeKey(viewer, {"C", Qt::Key_C, None, Effect::Nothing});
  EXPECT_EQ(image->Bounds().topLeft(), centred);
  const QSize client = viewer.form1().ClientSize();
  EXPECT_EQ(centred, QPoint((client.width() - image->Bounds().width()) / 2,
                            (client.height() - image->Bounds().height()) / 2));
}

// A press and a release on the picture, `ms` milliseconds and (dx, dy) pixels apart.
struct TapCase {
  const char* name;
  Qt::MouseButton button;
  std::uint32_t ms;
  int dx, dy;
  Effect effect;
};

void PrintTo(const TapCase& c, std::ostream* os) {
  *os << c.name;
}

void PressAndRelease(ViewerFixture& viewer, Qt::MouseButton button, std::uint32_t startTick,
                     std::uint32_t ms, QPoint from, QPoint to) {
  QWidget* image = viewer.form1().Image1;
  viewer.platform.tickCount = startTick;
  SendMouse(image, QEvent::MouseButtonPress, button, from, button);
  viewer.platform.tickCount = startTick + ms;
  SendMouse(image, QEvent::MouseMove, Qt::NoButton, to, button);
  SendMouse(image, QEvent::MouseButtonRelease, button, to, Qt::NoButton);
}

class TapTest : public testing::TestWithParam<TapCase> {};

TEST_P(TapTest, TapsLongTapsAndDrags) {
  ViewerFixture viewer;
  ShowFivePages(viewer);
  const Snapshot before = Take(viewer);
  const TapCase& c = GetParam();
  PressAndRelease(viewer, c.button, 5000, c.ms, QPoint(10, 10), QPoint(10 + c.dx, 10 + c.dy));
  EXPECT_EQ(Take(viewer), Expected(c.effect, before, viewer.form1()));
  EXPECT_EQ(TForm1Inspector::TimeStart(viewer.form1()), 5000.0);
  EXPECT_EQ(TForm1Inspector::TimeStop(viewer.form1()), 5000.0 + c.ms);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Pointer, TapTest,
    testing::Values(
        TapCase{"left_tap", Qt::LeftButton, 0, 0, 0, Effect::Next},
        TapCase{"left_999ms_is_a_tap", Qt::LeftButton, 999, 0, 0, Effect::Next},
        TapCase{"left_2px_is_a_tap", Qt::LeftButton, 100, 2, 2, Effect::Next},
        TapCase{"left_2px_back_is_a_tap", Qt::LeftButton, 100, -2, -2, Effect::Next},
        TapCase{"left_1000ms_is_a_long_tap", Qt::LeftButton, 1000, 0, 0, Effect::PopupMenu},
        TapCase{"left_long_2px", Qt::LeftButton, 5000, 2, -2, Effect::PopupMenu},
        TapCase{"right_tap", Qt::RightButton, 0, 0, 0, Effect::Previous},
        TapCase{"right_999ms", Qt::RightButton, 999, 1, 1, Effect::Previous},
        TapCase{"right_long_tap", Qt::RightButton, 1000, 0, 0, Effect::CloseMenu},
        TapCase{"middle_tap", Qt::MiddleButton, 0, 0, 0, Effect::PopupMenu},
        TapCase{"middle_long_tap", Qt::MiddleButton, 1000, 0, 0, Effect::CloseMenu},
        // 3 pixels along one axis is a drag: with Stretch on it does nothing here.
        TapCase{"left_3px_x_is_a_drag", Qt::LeftButton, 0, 3, 0, Effect::Nothing},
        TapCase{"left_3px_y_long_is_a_drag", Qt::LeftButton, 2000, 0, -3, Effect::Nothing},
        TapCase{"right_3px_is_a_drag", Qt::RightButton, 0, 0, 3, Effect::Nothing}),
    [](const testing::TestParamInfo<TapCase>& info) { return std::string(info.param.name); });

TEST(PointerTest, ATickCountThatWrapsIsNoLongTap) {
  ViewerFixture viewer;
  ShowFivePages(viewer);
  PressAndRelease(viewer, Qt::LeftButton, 0xFFFFFF00u, 2000, QPoint(5, 5), QPoint(5, 5));
  EXPECT_EQ(viewer.form1().ndxR, 3);  // a tap: the duration came out negative
  EXPECT_FALSE(viewer.form1().PM->isVisible());
}

TEST(PointerTest, WithAnEmptyListEveryReleaseOpensThePopup) {
  for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
    ViewerFixture viewer;
    viewer.Show(QSize(400, 300));
    viewer.form1().move(0, 0);
    PressAndRelease(viewer, button, 0, 1500, QPoint(5, 5), QPoint(25, 5));
    EXPECT_TRUE(viewer.form1().PM->isVisible()) << button;
  }
}

TEST(PointerTest, DragPansThePictureWithStretchOffWithoutLimit) {
  ViewerFixture viewer;
  ShowFivePages(viewer);
  viewer.Run(&TForm1::Action08StretchExecute);  // off
  ImageControl* image = viewer.form1().Image1;
  const QPoint start = image->Bounds().topLeft();
  PressAndRelease(viewer, Qt::RightButton, 0, 10, QPoint(20, 20), QPoint(23, 20));
  EXPECT_EQ(image->Bounds().topLeft(), start + QPoint(3, 0));
  // Far out of the window: there is no limit.
  PressAndRelease(viewer, Qt::LeftButton, 0, 10, QPoint(20, 20), QPoint(20, 2020));
  EXPECT_EQ(image->Bounds().topLeft(), start + QPoint(3, 2000));
  EXPECT_EQ(viewer.form1().ndxR, 2);
}

TEST(PointerTest, ClicksOnTheStatusBarAreNoTaps) {
  ViewerFixture viewer;
  ShowFivePages(viewer);
  TForm1& form = viewer.form1();
  form.PM_M->trigger();  // menu and status bar shown
  ASSERT_TRUE(form.StatusBar1->isVisible());
  SendMouse(form.StatusBar1, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5),
            Qt::LeftButton);
  SendMouse(form.StatusBar1, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(5, 5),
            Qt::NoButton);
  EXPECT_EQ(form.ndxR, 2);
  EXPECT_FALSE(form.PM->isVisible());
}

TEST(PointerTest, AClickOnTheWindowResumesAPausedAutoTurn) {
  ViewerFixture viewer;
  ShowFivePages(viewer);
  viewer.Run(&TForm1::FormClick);
  EXPECT_TRUE(viewer.form1().Timer1->isActive());
  EXPECT_EQ(viewer.form1().ndxR, 2);
}

}  // namespace
}  // namespace kelpra::test

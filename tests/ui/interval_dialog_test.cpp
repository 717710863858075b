// The automatic page turn and its interval dialog, driven through the window.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "core/file_search.h"
#include "ui_fixture.h"

namespace kelpra::test {
namespace {

constexpr QSize kPortraitWindow{300, 400};

QString PageCaption(int page, int count, const QString& state = {}) {
  return WithCounter(
      QStringLiteral("[Kelpra] (p%1.png) 30 x 40").arg(page, 2, 10, QChar(u'0')) + state, page,
      count);
}

class AutoTurnTest : public ::testing::Test {
 protected:
  void SetUp() override {
    viewer.Show(kPortraitWindow);
    pages = viewer.WritePages(3, 30, 40);
    form().AutoInt = 10;
  }
  TForm1& form() { return viewer.form1(); }
  bool Running() { return form().Action30AutoTurn->isChecked() && form().Timer1->isActive(); }
  bool Off() {
    return !form().Action30AutoTurn->isChecked() && !form().Action30AutoTurn1->isChecked() &&
           !form().Timer1->isActive() && form().State.isEmpty();
  }

  ViewerFixture viewer;
  QStringList pages;
};

TEST_F(AutoTurnTest, RunsFromStartToTheEndOfANonCyclicList) {
  viewer.SetOption(&TForm1::PM_Y, false);
  viewer.Open(pages[0]);
  const QString suffix = QStringLiteral("  Auto(10s)");

  viewer.Run(&TForm1::Action30AutoTurnExecute);
  EXPECT_EQ(viewer.Caption(), PageCaption(2, 3, suffix)) << "a page turns at once";
  EXPECT_TRUE(Running());
  EXPECT_TRUE(form().Action30AutoTurn1->isChecked());
  EXPECT_EQ(form().Timer1->interval(), 10000);
  EXPECT_EQ(form().State, suffix);

  viewer.Run(&TForm1::Timer1Timer);
  EXPECT_EQ(viewer.Caption(), PageCaption(3, 3, suffix));
  EXPECT_TRUE(Running());

  viewer.Run(&TForm1::Timer1Timer);  // the end: auto-turn stops, nothing is rendered
  QString stopped = PageCaption(3, 3, suffix);
  stopped.remove(suffix);
  EXPECT_EQ(viewer.Caption(), stopped);
  EXPECT_TRUE(Off());
}

TEST_F(AutoTurnTest, TheTimerItselfTurnsThePages) {
  viewer.SetOption(&TForm1::PM_Y, false);
  form().AutoInt = 1;
  viewer.Open(pages[0]);
  viewer.Run(&TForm1::Action30AutoTurnExecute);
  EXPECT_TRUE(QTest::qWaitFor([this] { return Off(); }, 10000));
  EXPECT_EQ(form().ndxR, 2);
  EXPECT_TRUE(viewer.dialogs.messages.empty());
}

TEST_F(AutoTurnTest, StartingAtTheLastPageRendersNothingAndTheFirstTickStops) {
  viewer.SetOption(&TForm1::PM_Y, false);
  viewer.Open(pages[2]);
  const QString caption = viewer.Caption();
  viewer.Run(&TForm1::Action30AutoTurnExecute);
  EXPECT_TRUE(Running());
  EXPECT_EQ(viewer.Caption(), caption);
  viewer.Run(&TForm1::Timer1Timer);
  EXPECT_TRUE(Off());
  EXPECT_EQ(viewer.Caption(), caption);
}

TEST_F(AutoTurnTest, TheCommandStopsARunningTurnWithoutTurning) {
  viewer.Open(pages[0]);
  viewer.Run(&TForm1::Action30AutoTurnExecute);
  form().Timer1->stop();  // paused by the popup menu: the check mark decides
  viewer.Run(&TForm1::Action30AutoTurnExecute);
  EXPECT_TRUE(Off());
  const QString suffix = QStringLiteral("  Auto(10s)");
  EXPECT_EQ(viewer.Caption(), PageCaption(2, 3, suffix).remove(suffix))
      << "the suffix goes, the counter stays";
  EXPECT_EQ(form().ndxR, 1);
}

TEST_F(AutoTurnTest, PausedTurnResumesOnlyWithARearmingCommand) {
  viewer.Open(pages[0]);
  viewer.Run(&TForm1::Action30AutoTurnExecute);
  form().Timer1->stop();
  viewer.Run(&TForm1::Action18RotateLExecute);
  viewer.Run(&TForm1::PM_YClick);
  EXPECT_FALSE(form().Timer1->isActive()) << "rotation and Cyclic leave it paused";
  EXPECT_TRUE(form().Action30AutoTurn->isChecked());
  viewer.Run(&TForm1::Action15PreviousExecute);
  EXPECT_TRUE(Running());
}

TEST_F(AutoTurnTest, AnUnreadablePageDoesNotKeepAutoTurnFromStarting) {
  viewer.SetOption(&TForm1::PM_Y, true);
  viewer.Open(pages[0]);
  WriteBytes({0xFF, 0xD8, 0xFF}, NativePath(pages[1]));
  viewer.Run(&TForm1::Action30AutoTurnExecute);
  EXPECT_EQ(viewer.dialogs.MessagesOf("ShowError").size(), 1u);
  EXPECT_TRUE(Running());
  EXPECT_EQ(form().Timer1->interval(), 10000);
  viewer.Run(&TForm1::Timer1Timer);  // the next tick moves on from the unreadable page
  EXPECT_EQ(viewer.Caption(), PageCaption(3, 3, QStringLiteral("  Auto(10s)")));
}

TEST_F(AutoTurnTest, TickWithAnEmptyListDoesNothing) {
  viewer.Open(pages[0]);
  viewer.Run(&TForm1::Action30AutoTurnExecute);
  form().FileList.Clear();
  viewer.Run(&TForm1::Timer1Timer);
  EXPECT_TRUE(Running());
}

// The interval dialog, shown while auto-turn runs or not, left by one of its ways out.
struct IntervalCase {
  const char* name;
  bool autoTurn;
  const char* typed;  // replaces the field's text
  // 'A' Apply, 'C' Cancel, 'R' Enter in the field, 'K' Enter on the focused Cancel, 'E' Escape,
  // 'X' close box
  char exit;
  int autoInt;
  bool running;
};

class IntervalDialogTest : public AutoTurnTest,
                           public ::testing::WithParamInterface<IntervalCase> {};

TEST_P(IntervalDialogTest, ExitSetsIntervalStateAndTimer) {
  const IntervalCase& c = GetParam();
  viewer.SetOption(&TForm1::PM_Y, true);
  viewer.Open(pages[0]);
  if (c.autoTurn)
    viewer.Run(&TForm1::Action30AutoTurnExecute);
  TForm3& dialog = viewer.form3();
  dialog.show();
  EXPECT_EQ(dialog.SpinEdit1->value(), 10);
  EXPECT_FALSE(form().Timer1->isActive()) << "no page turns while the dialog is open";

  dialog.SpinEdit1->selectAll();
  QTest::keyClick(dialog.SpinEdit1, Qt::Key_Backspace);
  QTest::keyClicks(dialog.SpinEdit1, QString::fromLatin1(c.typed));
  switch (c.exit) {
    case 'A':
      dialog.ButtonApply->click();
      break;
    case 'C':
      dialog.ButtonCancel->click();
      break;
    case 'R':
      QTest::keyClick(dialog.SpinEdit1, Qt::Key_Return);
      break;
    case 'K':
      dialog.ButtonCancel->setFocus();
      QTest::keyClick(dialog.ButtonCancel, Qt::Key_Return);
      break;
    case 'E':
      QTest::keyClick(dialog.SpinEdit1, Qt::Key_Escape);
      break;
    case 'X':
      dialog.close();
      break;
  }
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(form().AutoInt, c.autoInt);
  EXPECT_EQ(form().Timer1->isActive(), c.running);
  EXPECT_EQ(form().Action30AutoTurn->isChecked(), c.autoTurn);
  const bool applied = c.exit == 'A' || c.exit == 'R';
  const QString suffix = QStringLiteral("  Auto(%1s)").arg(c.autoInt);
  EXPECT_EQ(form().State, c.autoTurn ? suffix : QString());
  if (c.autoTurn) {
    EXPECT_EQ(form().Timer1->interval(), c.autoInt * 1000);
    viewer.Run(&TForm1::Timer1Timer);
    EXPECT_EQ(viewer.Caption(), PageCaption(3, 3, suffix));
  } else {
    if (applied) {
      EXPECT_EQ(form().Timer1->interval(), c.autoInt * 1000);
    }
    // The next start uses the stored interval.
    viewer.Run(&TForm1::Action30AutoTurnExecute);
    EXPECT_EQ(form().Timer1->interval(), c.autoInt * 1000);
    EXPECT_EQ(viewer.Caption(), PageCaption(2, 3, suffix));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Exits, IntervalDialogTest,
    ::testing::Values(IntervalCase{"ApplyWhileRunning", true, "3", 'A', 3, true},
                      IntervalCase{"CancelWhileRunning", true, "7", 'C', 10, true},
                      IntervalCase{"EscapeWhileRunning", true, "7", 'E', 10, true},
                      IntervalCase{"CloseBoxWhileRunning", true, "7", 'X', 10, true},
                      IntervalCase{"EnterWhileRunning", true, "15", 'R', 15, true},
                      IntervalCase{"EnterOnTheFocusedCancel", true, "7", 'K', 10, true},
                      IntervalCase{"ApplyWhileOff", false, "30", 'A', 30, false},
                      IntervalCase{"CancelWhileOff", false, "30", 'C', 10, false},
                      IntervalCase{"ZeroIsOne", false, "0", 'R', 1, false},
                      IntervalCase{"AboveTheMaximumIsTheMaximum", false, "5000", 'R', 3600, false},
                      IntervalCase{"EmptyIsOne", false, "", 'R', 1, false},
                      IntervalCase{"EmptyAppliedByTheButtonIsOne", false, "", 'A', 1, false},
                      IntervalCase{"NotANumberIsOne", false, "1.5", 'A', 1, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AutoTurnTest, StoredIntervalOutOfRangeIsShownInRangeAndKeptByCancel) {
  form().AutoInt = 5000;
  TForm3& dialog = viewer.form3();
  dialog.show();
  EXPECT_EQ(dialog.SpinEdit1->value(), 3600);
  dialog.ButtonCancel->click();
  EXPECT_EQ(form().AutoInt, 5000);
}

TEST_F(AutoTurnTest, IntervalDialogLayout) {
  TForm3& dialog = viewer.form3();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Interval"));
  EXPECT_EQ(dialog.size(), QSize(214, 126));
  EXPECT_EQ(dialog.SpinEdit1->minimum(), 1);
  EXPECT_EQ(dialog.SpinEdit1->maximum(), 3600);
  EXPECT_EQ(dialog.SpinEdit1->geometry(), QRect(63, 43, 81, 22));
  EXPECT_EQ(dialog.ButtonCancel->geometry(), QRect(16, 82, 75, 25));
  EXPECT_EQ(dialog.ButtonApply->geometry(), QRect(120, 82, 75, 25));
  EXPECT_TRUE(dialog.ButtonApply->isDefault());
  EXPECT_EQ(dialog.Label1->text(), QStringLiteral("Auto page turn interval"));
  EXPECT_EQ(dialog.Label2->text(), QStringLiteral("Sec."));
  EXPECT_EQ(dialog.font().pixelSize(), 11);
}

}  // namespace
}  // namespace kelpra::test

// Where the secondary windows appear: the two dialogs and the message boxes belong to the main
// window (the window system keeps them above it); the dialogs and the version box are centred
// on the screen, the other boxes over the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ui/qt_dialogs.h"
#include "ui_fixture.h"

namespace kelpra::test {
namespace {

// The main window away from the screen's centre, so that "over the window" and "on the screen"
// differ.
void ShowOffCentre(ViewerFixture& viewer) {
  viewer.Show(QSize(300, 200));
  viewer.form1().move(10, 20);
  QApplication::processEvents();
}

QPoint ScreenCentre(const QWidget& window) {
  return window.screen()->geometry().center();
}

// The frame's centre within a pixel of the point (rounding of odd sizes).
void ExpectCentredAt(const QWidget& window, QPoint point, const char* what) {
  const QPoint centre = window.frameGeometry().center();
  EXPECT_LE((centre - point).manhattanLength(), 2)
      << what << " centred at " << centre.x() << "," << centre.y() << ", not at " << point.x()
      << "," << point.y();
}

TEST(WindowPlacementTest, DialogsBelongToTheMainWindowAndAreCentredOnTheScreen) {
  ViewerFixture viewer;
  ShowOffCentre(viewer);
  const QWindow* main = viewer.form1().windowHandle();
  for (QDialog* dialog :
       {static_cast<QDialog*>(&viewer.form2()), static_cast<QDialog*>(&viewer.form3())}) {
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    ASSERT_NE(dialog->windowHandle(), nullptr);
    EXPECT_EQ(dialog->windowHandle()->transientParent(), main)
        << dialog->objectName().toStdString();
    ExpectCentredAt(*dialog, ScreenCentre(*dialog), qPrintable(dialog->objectName()));
    dialog->hide();
  }
}

// Runs a box of the real dialogs and looks at it while it is open.
void InspectBox(const std::function<void()>& open, const std::function<void(QMessageBox&)>& look) {
  bool seen = false;
  std::function<void()> poll = [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) {
      QTimer::singleShot(10, poll);
      return;
    }
    seen = true;
    look(*box);
    box->done(QMessageBox::Ok);
  };
  QTimer::singleShot(0, poll);
  open();
  EXPECT_TRUE(seen) << "no message box";
}

TEST(WindowPlacementTest, MessageBoxesBelongToTheMainWindowTheVersionBoxCentredOnTheScreen) {
  ViewerFixture viewer;
  ShowOffCentre(viewer);
  TForm1& form = viewer.form1();
  QtDialogs dialogs;
  dialogs.SetOwner(&form);
  const QPoint windowCentre = form.frameGeometry().center();

  InspectBox([&] { dialogs.InformationOnScreen(QStringLiteral("version")); },
             [&](QMessageBox& box) {
               EXPECT_EQ(box.windowHandle()->transientParent(), form.windowHandle());
               ExpectCentredAt(box, ScreenCentre(box), "the version box");
             });
  InspectBox([&] { dialogs.ShowError(QStringLiteral("error")); },
             [&](QMessageBox& box) {
               EXPECT_EQ(box.windowHandle()->transientParent(), form.windowHandle());
               ExpectCentredAt(box, windowCentre, "the error box");
             });
}

}  // namespace
}  // namespace kelpra::test

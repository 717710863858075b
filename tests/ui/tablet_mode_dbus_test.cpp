// The real Linux tablet-mode service wired into the window, against a private D-Bus session bus:
// KDE switching into tablet mode hides the main menu, switching back shows it again.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QStatusBar>

#include "platform/fake_kwin.h"
#include "platform/linux/kde_tablet_mode.h"
#include "ui_fixture.h"

namespace kelpra::test {
namespace {

using test_bus::FakeKWin;
using test_bus::PrivateSessionBus;
using test_bus::WaitFor;

TEST(TabletModeOverDBusTest, TheManagersSignalHidesAndShowsTheMainMenu) {
  PrivateSessionBus bus;
  ASSERT_TRUE(bus.Started()) << "dbus-daemon could not be started";
  FakeKWin kwin(bus.Connect(QStringLiteral("kwin")));
  ASSERT_TRUE(kwin.Register());
  KdeTabletMode tabletMode(bus.Connect(QStringLiteral("viewer")));

  TempDir temp;
  FakeDialogs dialogs;
  FakePlatform platform(temp.path());
  const PlatformServices services{platform, tabletMode, platform, platform, platform};
  TForm1 form1(services, dialogs, {});
  TForm2 form2(form1);
  TForm3 form3(form1);
  form1.AttachDialogs(form2, form3);
  form1.show();
  QApplication::processEvents();
  form1.PM_M->trigger();  // "Menu" on
  ASSERT_TRUE(form1.MM->isVisible());

  kwin.SetTabletMode(true);
  ASSERT_TRUE(WaitFor([&] { return !form1.MM->isVisible(); }));
  EXPECT_FALSE(form1.StatusBar1->isVisible());
  EXPECT_FALSE(form1.PM_M->isEnabled());
  EXPECT_TRUE(TForm1Inspector::TabletMode(form1));
  EXPECT_EQ(platform.sleeps, std::vector<int>{500});

  kwin.SetTabletMode(false);
  ASSERT_TRUE(WaitFor([&] { return form1.MM->isVisible(); }));
  EXPECT_TRUE(form1.StatusBar1->isVisible());
  EXPECT_TRUE(form1.PM_M->isEnabled());
}

TEST(TabletModeOverDBusTest, ReadAtCreationWhenKWinIsAlreadyInTabletMode) {
  PrivateSessionBus bus;
  ASSERT_TRUE(bus.Started());
  FakeKWin kwin(bus.Connect(QStringLiteral("kwin")));
  ASSERT_TRUE(kwin.Register());
  kwin.SetTabletMode(true);
  KdeTabletMode tabletMode(bus.Connect(QStringLiteral("viewer")));

  TempDir temp;
  FakeDialogs dialogs;
  FakePlatform platform(temp.path());
  TForm1 form1({platform, tabletMode, platform, platform, platform}, dialogs, {});
  EXPECT_TRUE(TForm1Inspector::TabletMode(form1));
}

}  // namespace
}  // namespace kelpra::test

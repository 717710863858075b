// The Linux tablet-mode service against a real (private) D-Bus session bus.
#include "platform/linux/kde_tablet_mode.h"

#include <gtest/gtest.h>

#include "platform/fake_kwin.h"

namespace kelpra {
namespace {

using test_bus::FakeKWin;
using test_bus::PrivateSessionBus;
using test_bus::WaitFor;

QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "platform_tests";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

class KdeTabletModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    ASSERT_TRUE(bus_.Started()) << "dbus-daemon could not be started";
  }
  PrivateSessionBus bus_;
};

TEST_F(KdeTabletModeTest, WithoutTheServiceTheSystemIsADesktop) {
  KdeTabletMode service(bus_.Connect(QStringLiteral("client-no-kwin")));
  EXPECT_FALSE(service.IsTabletMode());
}

TEST_F(KdeTabletModeTest, WithoutASessionBusTheSystemIsADesktop) {
  KdeTabletMode service(QDBusConnection(QStringLiteral("no-such-connection")));
  EXPECT_FALSE(service.IsTabletMode());
}

TEST_F(KdeTabletModeTest, ReadsTheFlagAndReportsChanges) {
  FakeKWin kwin(bus_.Connect(QStringLiteral("kwin")));
  ASSERT_TRUE(kwin.Register());
  KdeTabletMode service(bus_.Connect(QStringLiteral("client")));
  int changes = 0;
  service.SetSettingChangeHandler([&] { ++changes; });

  EXPECT_FALSE(service.IsTabletMode());
  kwin.SetTabletMode(true);
  ASSERT_TRUE(WaitFor([&] { return changes == 1; }));
  EXPECT_TRUE(service.IsTabletMode());
  kwin.SetTabletMode(false);
  ASSERT_TRUE(WaitFor([&] { return changes == 2; }));
  EXPECT_FALSE(service.IsTabletMode());
}

}  // namespace
}  // namespace kelpra

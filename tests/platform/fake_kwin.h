// A private D-Bus session bus and a small stand-in for KDE's tablet-mode manager on it, for the
// integration tests of the tablet-mode service. Header-only and moc-free, so the UI tests can use
// it too.
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>
#include <atomic>
#include <functional>

namespace kelpra::test_bus {

// dbus-daemon started for one test and stopped (by its process id) afterwards.
class PrivateSessionBus {
 public:
  PrivateSessionBus() {
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--session"), QStringLiteral("--fork"),
                  QStringLiteral("--print-address=1"), QStringLiteral("--print-pid=1")});
    if (!daemon.waitForFinished(10000))
      return;
    const QStringList lines =
        QString::fromUtf8(daemon.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    if (lines.size() < 2)
      return;
    address_ = lines[0].trimmed();
    pid_ = lines[1].trimmed().toInt();
  }
  ~PrivateSessionBus() {
    for (const QString& name : names_)
      QDBusConnection::disconnectFromBus(name);
    if (pid_ > 0)
      kill(pid_, SIGTERM);
  }
  PrivateSessionBus(const PrivateSessionBus&) = delete;
  PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

  bool Started() const { return !address_.isEmpty() && pid_ > 0; }
  // A new connection to this bus. Qt keeps connections by name for the whole process, so the
  // name is made unique to this bus and dropped with it.
  QDBusConnection Connect(const QString& name) {
    names_.append(name + QLatin1Char('-') + QString::number(pid_));
    return QDBusConnection::connectToBus(address_, names_.back());
  }

 private:
  QString address_;
  pid_t pid_ = 0;
  QStringList names_;
};

// org.kde.KWin at /org/kde/KWin: the tabletMode property and the tabletModeChanged signal.
class FakeKWin : public QDBusVirtualObject {
 public:
  static inline const QString kPath = QStringLiteral("/org/kde/KWin");
  static inline const QString kInterface = QStringLiteral("org.kde.KWin.TabletModeManager");

  // The stand-in answers from a thread of its own, as a separate process would, so that the
  // blocking calls of the code under test get their replies.
  explicit FakeKWin(QDBusConnection connection) : connection_(std::move(connection)) {
    thread_.start();
    moveToThread(&thread_);
  }
  ~FakeKWin() override {
    connection_.unregisterObject(kPath);
    thread_.quit();
    thread_.wait();
  }

  bool Register() {
    return connection_.registerVirtualObject(kPath, this) &&
           connection_.registerService(QStringLiteral("org.kde.KWin"));
  }

  // Changes the mode and announces it as KWin does.
  void SetTabletMode(bool on) {
    tabletMode_ = on;
    QDBusMessage signal =
        QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("tabletModeChanged"));
    signal << on;
    connection_.send(signal);
  }

  QString introspect(const QString&) const override {
    return QStringLiteral(
        "<interface name=\"org.kde.KWin.TabletModeManager\">"
        "<property name=\"tabletMode\" type=\"b\" access=\"read\"/>"
        "<signal name=\"tabletModeChanged\"><arg name=\"tabletMode\" type=\"b\"/></signal>"
        "</interface>");
  }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    if (message.interface() == QStringLiteral("org.freedesktop.DBus.Properties") &&
        message.member() == QStringLiteral("Get") && message.arguments().size() == 2 &&
        message.arguments()[0].toString() == kInterface &&
        message.arguments()[1].toString() == QStringLiteral("tabletMode")) {
      connection.send(message.createReply(QVariant::fromValue(QDBusVariant(tabletMode_.load()))));
    } else {
      connection.send(message.createErrorReply(QDBusError::UnknownMethod, message.member()));
    }
    return true;
  }

 private:
  QDBusConnection connection_;
  QThread thread_;
  std::atomic<bool> tabletMode_ = false;
};

// Runs the event loop until the condition holds or five seconds have passed.
inline bool WaitFor(const std::function<bool()>& condition) {
  QDeadlineTimer deadline(5000);
  while (!condition() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  return condition();
}

}  // namespace kelpra::test_bus

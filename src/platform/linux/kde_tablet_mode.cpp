#include "platform/linux/kde_tablet_mode.h"

#include <QDBusMessage>
#include <QDBusVariant>

namespace kelpra {

namespace {

const QString kService = QStringLiteral("org.kde.KWin");
const QString kPath = QStringLiteral("/org/kde/KWin");
const QString kInterface = QStringLiteral("org.kde.KWin.TabletModeManager");
// A missing service is answered at once by the bus; this only bounds a hung one.
constexpr int kCallTimeoutMSec = 1000;

}  // namespace

KdeTabletMode::KdeTabletMode(QDBusConnection connection, QObject* parent)
    : QObject(parent), connection_(std::move(connection)) {
  if (connection_.isConnected()) {
    connection_.connect(kService, kPath, kInterface, QStringLiteral("tabletModeChanged"), this,
                        SLOT(OnTabletModeChanged(bool)));
  }
}

bool KdeTabletMode::IsTabletMode() {
  if (!connection_.isConnected())
    return false;
  QDBusMessage call = QDBusMessage::createMethodCall(
      kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
  call << kInterface << QStringLiteral("tabletMode");
  const QDBusMessage reply = connection_.call(call, QDBus::Block, kCallTimeoutMSec);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
    return false;
  const QVariant value = reply.arguments().first().value<QDBusVariant>().variant();
  return value.typeId() == QMetaType::Bool && value.toBool();
}

void KdeTabletMode::SetSettingChangeHandler(std::function<void()> handler) {
  handler_ = std::move(handler);
}

void KdeTabletMode::OnTabletModeChanged(bool) {
  // The handler reads the mode again, as it does for every settings change.
  if (handler_)
    handler_();
}

}  // namespace kelpra

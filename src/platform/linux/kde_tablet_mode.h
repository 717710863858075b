// Tablet mode on Linux: KDE's tablet-mode manager on the session bus. Without that service (or
// without a session bus) the system is a desktop.
#pragma once

#include <QDBusConnection>
#include <QObject>

#include "core/platform_services.h"

namespace kelpra {

class KdeTabletMode : public QObject, public TabletModeService {
  Q_OBJECT

 public:
  explicit KdeTabletMode(QDBusConnection connection = QDBusConnection::sessionBus(),
                         QObject* parent = nullptr);

  // Asks the manager for its tabletMode property; false when it cannot be asked.
  bool IsTabletMode() override;
  // Runs the handler whenever the manager reports a change of mode.
  void SetSettingChangeHandler(std::function<void()> handler) override;

 private slots:
  void OnTabletModeChanged(bool tabletMode);

 private:
  QDBusConnection connection_;
  std::function<void()> handler_;
};

}  // namespace kelpra

#include "platform/linux/special_folders.h"

#include <QDir>

namespace kelpra {

QString LinuxSpecialFolders::GetPath(int nFolder) {
  constexpr int kAppData = 26;
  if (nFolder != kAppData)
    return {};
  // The XDG rule: a relative value is invalid and ignored.
  const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (!config.isEmpty() && QDir::isAbsolutePath(config))
    return config;
  return QDir::homePath() + QStringLiteral("/.config");
}

}  // namespace kelpra

// The user's special folders on Linux.
#pragma once

#include "core/platform_services.h"

namespace kelpra {

class LinuxSpecialFolders : public SpecialFolders {
 public:
  // 26 (the roaming application data): $XDG_CONFIG_HOME when set to an absolute path, else
  // ~/.config. Any other id: empty.
  QString GetPath(int nFolder) override;
};

}  // namespace kelpra

// The user's special folders on Windows.
#pragma once

#include "core/platform_services.h"

namespace kelpra {

class WindowsSpecialFolders : public SpecialFolders {
 public:
  // SHGetFolderPathW with the folder id (26: CSIDL_APPDATA); empty when the shell has none.
  QString GetPath(int nFolder) override;
};

}  // namespace kelpra

#include "platform/windows/special_folders.h"

#include <shlobj.h>
#include <windows.h>

namespace kelpra {

QString WindowsSpecialFolders::GetPath(int nFolder) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, nFolder, nullptr, SHGFP_TYPE_CURRENT, path)))
    return {};
  return QString::fromWCharArray(path).replace(QLatin1Char('\\'), QLatin1Char('/'));
}

}  // namespace kelpra

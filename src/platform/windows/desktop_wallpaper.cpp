#include "platform/windows/desktop_wallpaper.h"

#include <windows.h>
#include <QDir>

namespace kelpra {

namespace {

bool SetText(HKEY key, const wchar_t* name, int value) {
  const std::wstring text = std::to_wstring(value);
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        DWORD((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace

bool WindowsWallpaper::ChangeWallpaperStyle(int wallPaperStyle, int nX, int nY) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  const bool ok = SetText(key, L"WallpaperStyle", wallPaperStyle / 10) &&
                  SetText(key, L"TileWallpaper", wallPaperStyle % 10) &&
                  SetText(key, L"WallpaperOriginX", nX) && SetText(key, L"WallpaperOriginY", nY);
  RegCloseKey(key);
  return ok;
}

bool WindowsWallpaper::ChangeBackground(TColor color) {
  const INT element = COLOR_BACKGROUND;
  const COLORREF rgb = ColorToRGB(color);
  return SetSysColors(1, &element, &rgb) != 0;
}

void WindowsWallpaper::SetWallpaper(const QString& bmpPath) {
  std::wstring path = QDir::toNativeSeparators(bmpPath).toStdWString();
  SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), SPIF_UPDATEINIFILE);
}

}  // namespace kelpra

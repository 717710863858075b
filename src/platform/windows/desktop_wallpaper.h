// The desktop wallpaper on Windows: the style values in the registry, the wallpaper and the
// desktop background colour through the system's services.
#pragma once

#include "core/platform_services.h"

namespace kelpra {

class WindowsWallpaper : public WallpaperService {
 public:
  // "Control Panel\Desktop": WallpaperStyle, TileWallpaper, WallpaperOriginX/Y as text.
  bool ChangeWallpaperStyle(int wallPaperStyle, int nX, int nY) override;
  // SetSysColors(COLOR_BACKGROUND), for this session only.
  bool ChangeBackground(TColor color) override;
  // SystemParametersInfo(SPI_SETDESKWALLPAPER) recorded in the profile, without a broadcast.
  void SetWallpaper(const QString& bmpPath) override;
};

}  // namespace kelpra

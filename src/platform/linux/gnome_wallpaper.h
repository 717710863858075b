// The desktop wallpaper on GNOME: the org.gnome.desktop.background settings, through gsettings.
#pragma once

#include <QStringList>

#include "core/platform_services.h"

namespace kelpra {

class GnomeWallpaper : public WallpaperService {
 public:
  // picture-options from the style code: 0 centered, 1 wallpaper, 20 stretched, 60 scaled,
  // 100 zoom. The origin has no GNOME counterpart. False for another code or a failed write.
  bool ChangeWallpaperStyle(int wallPaperStyle, int nX, int nY) override;
  // primary-color "#rrggbb" with a solid shading.
  bool ChangeBackground(TColor color) override;
  // picture-uri and picture-uri-dark: the file's URI.
  void SetWallpaper(const QString& bmpPath) override;

 private:
  // One `gsettings set org.gnome.desktop.background key value`; true when it succeeded.
  static bool Set(const QString& key, const QString& value);
};

// The picture-options value for a style code, or empty for an unknown code.
QString GnomePictureOptions(int wallPaperStyle);

}  // namespace kelpra

// The system services the viewer needs, behind interfaces: the platform folder implements them
// (Linux and Windows), tests use fakes.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>

#include "imaging/bitmap.h"

namespace kelpra {

// GetPath: the file-system path of a special folder by its system folder id (26: the user's
// roaming application data; on Linux the XDG configuration folder).
class SpecialFolders {
 public:
  virtual ~SpecialFolders() = default;
  virtual QString GetPath(int nFolder) = 0;
};

// Whether the system is in tablet mode, and a notification when the system's settings change.
class TabletModeService {
 public:
  virtual ~TabletModeService() = default;
  virtual bool IsTabletMode() = 0;
  virtual void SetSettingChangeHandler(std::function<void()> handler) = 0;
};

// Desktop wallpaper, its style and the desktop background colour.
class WallpaperService {
 public:
  virtual ~WallpaperService() = default;
  // Style code: 10 x the style number + the tile flag (0 centre, 1 tile, 20 stretch, 60 fit,
  // 100 fill). False when the setting could not be stored.
  virtual bool ChangeWallpaperStyle(int wallPaperStyle, int nX, int nY) = 0;
  virtual bool ChangeBackground(TColor color) = 0;
  virtual void SetWallpaper(const QString& bmpPath) = 0;
};

// Tick count, sleeping and the primary screen's size.
class SystemClock {
 public:
  virtual ~SystemClock() = default;
  virtual std::uint32_t GetTickCount() = 0;
  virtual void Sleep(int milliseconds) = 0;
};

class ScreenInfo {
 public:
  virtual ~ScreenInfo() = default;
  virtual QSize PrimaryScreenSize() = 0;
  // The part of the primary screen that windows may take: without panels and docks.
  virtual QRect PrimaryScreenAvailableArea() = 0;
};

struct PlatformServices {
  SpecialFolders& folders;
  TabletModeService& tabletMode;
  WallpaperService& wallpaper;
  SystemClock& clock;
  ScreenInfo& screen;
};

}  // namespace kelpra

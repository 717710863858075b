#include "platform/linux/gnome_wallpaper.h"

#include <QProcess>
#include <QUrl>

namespace kelpra {

namespace {

constexpr int kTimeoutMs = 10000;

// A GVariant string literal, so that no value is ever read as another type.
QString VariantString(QString text) {
  text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
  text.replace(QLatin1Char('\''), QLatin1String("\\'"));
  return QLatin1Char('\'') + text + QLatin1Char('\'');
}

}  // namespace

QString GnomePictureOptions(int wallPaperStyle) {
  switch (wallPaperStyle) {
    case 0:
      return QStringLiteral("centered");
    case 1:
      return QStringLiteral("wallpaper");
    case 20:
      return QStringLiteral("stretched");
    case 60:
      return QStringLiteral("scaled");
    case 100:
      return QStringLiteral("zoom");
    default:
      return {};
  }
}

bool GnomeWallpaper::Set(const QString& key, const QString& value) {
  QProcess gsettings;
  gsettings.start(QStringLiteral("gsettings"),
                  {QStringLiteral("set"), QStringLiteral("org.gnome.desktop.background"), key,
                   VariantString(value)});
  if (!gsettings.waitForFinished(kTimeoutMs)) {
    gsettings.kill();  // not installed, or hung: the desktop keeps its settings
    gsettings.waitForFinished();
    return false;
  }
  return gsettings.exitStatus() == QProcess::NormalExit && gsettings.exitCode() == 0;
}

bool GnomeWallpaper::ChangeWallpaperStyle(int wallPaperStyle, int, int) {
  const QString options = GnomePictureOptions(wallPaperStyle);
  return !options.isEmpty() && Set(QStringLiteral("picture-options"), options);
}

bool GnomeWallpaper::ChangeBackground(TColor color) {
  const TColor rgb = ColorToRGB(color);
  const QString hex = QStringLiteral("#%1%2%3")
                          .arg(GetRValue(rgb), 2, 16, QLatin1Char('0'))
                          .arg(GetGValue(rgb), 2, 16, QLatin1Char('0'))
                          .arg(GetBValue(rgb), 2, 16, QLatin1Char('0'));
  const bool colour = Set(QStringLiteral("primary-color"), hex);
  const bool shading = Set(QStringLiteral("color-shading-type"), QStringLiteral("solid"));
  return colour && shading;
}

void GnomeWallpaper::SetWallpaper(const QString& bmpPath) {
  const QString uri = QUrl::fromLocalFile(bmpPath).toString(QUrl::FullyEncoded);
  Set(QStringLiteral("picture-uri"), uri);
  Set(QStringLiteral("picture-uri-dark"), uri);
}

}  // namespace kelpra

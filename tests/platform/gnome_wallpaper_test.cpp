// The GNOME wallpaper service against real GNOME settings: gsettings with its keyfile backend in
// a temporary configuration folder, so the user's desktop is never touched.
#include "platform/linux/gnome_wallpaper.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QUrl>

#include "support/scoped_env.h"
#include "support/test_pictures.h"

namespace kelpra {
namespace {

using test::ScopedEnv;

class GnomeWallpaperTest : public ::testing::Test {
 protected:
  // Reads a key back as gsettings prints it, without the GVariant string quotes.
  static QString Get(const QString& key) {
    QProcess gsettings;
    gsettings.start("gsettings", {"get", "org.gnome.desktop.background", key});
    EXPECT_TRUE(gsettings.waitForFinished(10000));
    QString value = QString::fromUtf8(gsettings.readAllStandardOutput()).trimmed();
    if (value.size() >= 2 && (value.front() == '\'' || value.front() == '"'))
      value = value.mid(1, value.size() - 2);
    return value.replace("\\'", "'").replace("\\\\", "\\");
  }

  test::TempDir config;
  ScopedEnv backend{"GSETTINGS_BACKEND", "keyfile"};
  ScopedEnv home{"XDG_CONFIG_HOME", QByteArray::fromStdString(config.path().string())};
  GnomeWallpaper wallpaper;
};

TEST_F(GnomeWallpaperTest, StyleCodesMapOntoPictureOptions) {
  const std::pair<int, const char*> table[] = {
      {0, "centered"}, {1, "wallpaper"}, {20, "stretched"}, {60, "scaled"}, {100, "zoom"}};
  for (const auto& [code, option] : table) {
    EXPECT_TRUE(wallpaper.ChangeWallpaperStyle(code, 0, 0)) << code;
    EXPECT_EQ(Get("picture-options"), option) << code;
  }
  EXPECT_FALSE(wallpaper.ChangeWallpaperStyle(61, 0, 0));
  EXPECT_EQ(Get("picture-options"), "zoom") << "an unknown code changes nothing";
}

TEST_F(GnomeWallpaperTest, BackgroundIsASolidColour) {
  EXPECT_TRUE(wallpaper.ChangeBackground(RGB(0x12, 0xAB, 0x05)));
  EXPECT_EQ(Get("primary-color"), "#12ab05");
  EXPECT_EQ(Get("color-shading-type"), "solid");
  EXPECT_TRUE(wallpaper.ChangeBackground(clBtnShadow));  // a system colour is resolved first
  EXPECT_EQ(Get("primary-color"), "#a0a0a0");
}

TEST_F(GnomeWallpaperTest, WallpaperIsTheFileUriInBothColourSchemes) {
  const QString path = QString::fromUtf8("/tmp/ZENDRO dir/壁紙 o'brien \\ 100%/_WallPaper.bmp");
  wallpaper.SetWallpaper(path);
  for (const char* key : {"picture-uri", "picture-uri-dark"}) {
    const QUrl uri(Get(key));
    EXPECT_TRUE(uri.isLocalFile()) << key;
    EXPECT_EQ(uri.toLocalFile(), path) << key;
  }
}

TEST_F(GnomeWallpaperTest, AMissingGsettingsReportsFailure) {
  const ScopedEnv noPath("PATH", "/nonexistent");
  EXPECT_FALSE(wallpaper.ChangeWallpaperStyle(60, 0, 0));
  EXPECT_FALSE(wallpaper.ChangeBackground(0));
  wallpaper.SetWallpaper("/tmp/x.bmp");  // absorbed, no crash
}

}  // namespace
}  // namespace kelpra

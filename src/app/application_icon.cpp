#include "app/application_icon.h"

#include <QDir>
#include <QList>
#include <QPixmap>
#include <QSize>
#include <algorithm>

namespace kelpra {

namespace {

// The same icon with its sizes smallest first, each at its own pixel size. An X11 window icon
// takes the sizes in the icon's order and stops at the first that overflows one request: in the
// hicolor theme's order (128, 16, 22, then 256) the window lost its 32 x 32 and 48 x 48.
QIcon SmallestFirst(const QIcon& icon) {
  QList<QSize> sizes = icon.availableSizes();
  std::sort(sizes.begin(), sizes.end(), [](const QSize& a, const QSize& b) {
    return a.width() * a.height() < b.width() * b.height();
  });
  sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
  QIcon ordered;
  for (const QSize& size : sizes) {
    // The theme lookup may answer a size with a near one (24 with 22): keep each size once.
    const QPixmap pixmap = icon.pixmap(size, 1.0);
    if (pixmap.size() == size)
      ordered.addPixmap(pixmap);
  }
  return ordered;
}

}  // namespace

QIcon ApplicationIcon(const QString& id) {
  QIcon compiledIn;
  for (const QFileInfo& png : QDir(QStringLiteral(":/icons")).entryInfoList())
    compiledIn.addFile(png.filePath());
  return SmallestFirst(QIcon::fromTheme(id, compiledIn));
}

}  // namespace kelpra

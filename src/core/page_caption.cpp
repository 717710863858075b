#include "core/page_composer.h"

#include <algorithm>

#include "core/file_names.h"

namespace kelpra {

QString SinglePageCaption(const QString& fileName, int width, int height, const QString& state) {
  return QStringLiteral("[Kelpra] (") + DisplayName(fileName) + QStringLiteral(") ") +
         QString::number(width) + QStringLiteral(" x ") + QString::number(height) + state;
}

QString SpreadCaption(const QString& leftName, const QString& rightName, const QString& state) {
  return QStringLiteral("[Kelpra] (") + DisplayName(leftName) + QStringLiteral(" + ") +
         DisplayName(rightName) + QStringLiteral(")") + state;
}

// The length counts UTF-16 code units, as the window caption does.
QString WithPageCounter(const QString& caption, int ndxR, int count) {
  const qsizetype padding = std::max<qsizetype>(50 - caption.size(), 0) + 2;
  return caption + QString(padding, u' ') + QString::number(ndxR + 1) + u'/' +
         QString::number(count);
}

}  // namespace kelpra

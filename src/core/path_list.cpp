#include "core/path_list.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

namespace kelpra {

struct PathList::Collation {
  QCollator collator;

  // The C locale has no collation rules (Qt then ignores numeric mode); the root order that
  // English uses stands in for it.
  static QLocale Locale() {
    const QLocale user;
    if (user.language() == QLocale::C)
      return QLocale(QLocale::English, QLocale::UnitedStates);
    return user;
  }

  Collation() : collator(Locale()) {
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
  }

  // The user's order first; the exact text decides between paths it finds equal (p01 and p1,
  // a.jpg and A.jpg), so that every file keeps its own place.
  int Compare(const QString& a, const QString& b) const {
    const int byLocale = collator.compare(a, b);
    if (byLocale != 0)
      return byLocale;
    return a.compare(b, Qt::CaseSensitive);
  }
};

PathList::PathList() : collation_(std::make_shared<const Collation>()) {}
PathList::~PathList() = default;
PathList::PathList(const PathList&) = default;
PathList& PathList::operator=(const PathList&) = default;

void PathList::Add(const QString& path) {
  const auto at = std::lower_bound(paths_.begin(), paths_.end(), path,
                                   [this](const QString& entry, const QString& value) {
                                     return collation_->Compare(entry, value) < 0;
                                   });
  if (at != paths_.end() && *at == path)
    return;
  paths_.insert(at, path);
}

int PathList::IndexOf(const QString& path) const {
  // Paths that only the exact text tells apart lie next to each other, around the exact place.
  const auto lessByLocale = [this](const QString& a, const QString& b) {
    return collation_->collator.compare(a, b) < 0;
  };
  const auto [first, last] = std::equal_range(paths_.begin(), paths_.end(), path, lessByLocale);
  const auto exact = std::find(first, last, path);
  if (exact != last)
    return int(exact - paths_.begin());
  const auto sameButCase = std::find_if(first, last, [&path](const QString& entry) {
    return entry.compare(path, Qt::CaseInsensitive) == 0;
  });
  if (sameButCase != last)
    return int(sameButCase - paths_.begin());
  return -1;
}

}  // namespace kelpra

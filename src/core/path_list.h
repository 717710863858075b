// The sorted list of picture paths: ordered by the user's locale, ignoring case, digits by their
// numeric value; where that finds two different paths equal, the exact text decides.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace kelpra {

class PathList {
 public:
  PathList();
  ~PathList();
  PathList(const PathList&);
  PathList& operator=(const PathList&);

  int Count() const { return int(paths_.size()); }
  bool Empty() const { return paths_.isEmpty(); }
  const QString& operator[](int index) const { return paths_[index]; }
  const QStringList& Paths() const { return paths_; }

  void Clear() { paths_.clear(); }
  // Inserts in order; an identical path is not added twice.
  void Add(const QString& path);
  void RemoveAt(int index) { paths_.removeAt(index); }
  // The exact path first, else one equal to it without regard to case; -1 when absent.
  int IndexOf(const QString& path) const;

 private:
  struct Collation;
  std::shared_ptr<const Collation> collation_;
  QStringList paths_;
};

}  // namespace kelpra

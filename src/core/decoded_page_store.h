// Pages decoded at full size, each kept with the identity its file had when it was read, within
// a byte budget. Shared by the window's thread and the read-ahead worker.
#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "core/file_identity.h"
#include "imaging/bitmap.h"

namespace kelpra {

class DecodedPageStore {
 public:
  // The default budget: 400 MB in the 64-bit build, 200 MB in the 32-bit one.
  static std::size_t DefaultBudget();

  explicit DecodedPageStore(std::size_t budgetBytes = DefaultBudget());

  // The page decoded from path while its file had this identity; null when there is none.
  std::shared_ptr<const TBitmap> Find(const QString& path, const FileIdentity& identity) const;
  // Keeps a decoded page in place of any older one of the same path. A page that does not fit
  // in the budget is not kept; returns whether it was.
  bool Keep(const QString& path, const FileIdentity& identity, std::shared_ptr<const TBitmap> page);
  // Lets go of every page whose path is not among these.
  void KeepOnly(const QStringList& paths);
  void Clear();

  std::size_t BytesHeld() const;
  std::size_t Budget() const { return budget_; }
  int Count() const;

  static std::size_t BytesOf(const TBitmap& page);

 private:
  struct Entry {
    FileIdentity identity;
    std::shared_ptr<const TBitmap> page;
  };
  const std::size_t budget_;
  mutable std::mutex mutex_;
  std::map<QString, Entry> entries_;
  std::size_t bytes_ = 0;
};

}  // namespace kelpra

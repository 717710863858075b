#include "core/decoded_page_store.h"

namespace kelpra {

std::size_t DecodedPageStore::DefaultBudget() {
  constexpr std::size_t kMegabyte = 1000 * 1000;
  return sizeof(void*) == 4 ? 200 * kMegabyte : 400 * kMegabyte;
}

DecodedPageStore::DecodedPageStore(std::size_t budgetBytes) : budget_(budgetBytes) {}

std::size_t DecodedPageStore::BytesOf(const TBitmap& page) {
  return page.Stride() * std::size_t(page.Height());
}

std::shared_ptr<const TBitmap> DecodedPageStore::Find(const QString& path,
                                                      const FileIdentity& identity) const {
  const std::lock_guard lock(mutex_);
  const auto found = entries_.find(path);
  if (found == entries_.end() || !(found->second.identity == identity))
    return nullptr;
  return found->second.page;
}

bool DecodedPageStore::Keep(const QString& path, const FileIdentity& identity,
                            std::shared_ptr<const TBitmap> page) {
  const std::size_t bytes = page ? BytesOf(*page) : 0;
  const std::lock_guard lock(mutex_);
  const auto old = entries_.find(path);
  if (old != entries_.end()) {
    bytes_ -= BytesOf(*old->second.page);
    entries_.erase(old);
  }
  if (!page || bytes_ + bytes > budget_)
    return false;
  entries_.emplace(path, Entry{identity, std::move(page)});
  bytes_ += bytes;
  return true;
}

void DecodedPageStore::KeepOnly(const QStringList& paths) {
  const std::lock_guard lock(mutex_);
  for (auto entry = entries_.begin(); entry != entries_.end();) {
    if (paths.contains(entry->first)) {
      ++entry;
    } else {
      bytes_ -= BytesOf(*entry->second.page);
      entry = entries_.erase(entry);
    }
  }
}

void DecodedPageStore::Clear() {
  const std::lock_guard lock(mutex_);
  entries_.clear();
  bytes_ = 0;
}

std::size_t DecodedPageStore::BytesHeld() const {
  const std::lock_guard lock(mutex_);
  return bytes_;
}

int DecodedPageStore::Count() const {
  const std::lock_guard lock(mutex_);
  return int(entries_.size());
}

}  // namespace kelpra

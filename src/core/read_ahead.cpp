#include "core/read_ahead.h"

#include <QtGlobal>
#include <algorithm>
#include <future>
#include <system_error>

#include "codecs/picture_loader.h"
#include "core/file_names.h"

namespace kelpra {

namespace {

// The request with its list pointing at the planned copy of the files.
PageRequest Bound(const PageRequest& request, const PathList& files) {
  PageRequest bound = request;
  bound.files = &files;
  return bound;
}

}  // namespace

bool SameBeforeFit(const PageRequest& a, const PageRequest& b) {
  if (!a.files || !b.files)
    return false;
  const int count = a.files->Count();
  if (count != b.files->Count() || a.ndxR != b.ndxR || a.half != b.half ||
      !(a.options == b.options) || !(a.effects == b.effects) || a.ndxR < 0 || a.ndxR >= count) {
    return false;
  }
  // Also whether the client size considers a spread.
  return PagesConsidered(a) == PagesConsidered(b);
}

bool SameComposition(const PageRequest& a, const PageRequest& b) {
  return SameBeforeFit(a, b) && a.clientWidth == b.clientWidth && a.clientHeight == b.clientHeight;
}

ReadAhead::ReadAhead(bool workAhead, std::size_t budgetBytes)
    : workAhead_(workAhead), store_(budgetBytes) {}

ReadAhead::~ReadAhead() {
  Stop();
}

bool ReadAhead::WorkAheadFromEnvironment() {
  return qgetenv("KELPRA_NO_READ_AHEAD") != "1";
}

PageLoader ReadAhead::Loader() {
  return [this](const QStringList& paths) { return Load(paths); };
}

std::shared_ptr<const TBitmap> ReadAhead::Decode(const QString& path,
                                                 std::optional<FileIdentity>& identity) {
  identity = IdentityOf(path);
  auto page = std::make_shared<TBitmap>();
  LoadFile(NativePath(path), *page);
  page->SetPixelFormat(pf24bit);
  // A file that changed while it was read may have given a mix of both: used once, not kept.
  if (identity && IdentityOf(path) == identity) {
    store_.Keep(path, *identity, page);
  } else {
    identity.reset();
  }
  return page;
}

LoadedPage ReadAhead::LoadOne(const QString& path, std::optional<FileIdentity>& identity) {
  LoadedPage loaded;
  try {
    {
      // The worker may be decoding this very page: waiting for it is quicker than starting over.
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return decoding_ != path; });
    }
    std::shared_ptr<const TBitmap> page = KeptPage(path, identity);
    if (!page)
      page = Decode(path, identity);
    loaded.picture = *page;
  } catch (...) {
    loaded.error = std::current_exception();
  }
  return loaded;
}

std::vector<LoadedPage> ReadAhead::Load(const QStringList& paths) {
  std::vector<std::optional<FileIdentity>> identities;
  return Load(paths, identities);
}

std::vector<LoadedPage> ReadAhead::Load(const QStringList& paths,
                                        std::vector<std::optional<FileIdentity>>& identities) {
  const std::size_t count = std::size_t(paths.size());
  std::vector<LoadedPage> pages(count);
  identities.assign(count, std::nullopt);
  // All pages at the same time: the later ones on helper threads, the first on this one.
  std::vector<std::future<void>> helpers;
  std::vector<std::size_t> notStarted;
  for (std::size_t i = 1; i < count; ++i) {
    try {
      helpers.push_back(std::async(
          std::launch::async, [&, i] { pages[i] = LoadOne(paths[qsizetype(i)], identities[i]); }));
    } catch (const std::system_error&) {
      notStarted.push_back(i);  // no thread to be had: done here afterwards
    }
  }
  if (count > 0)
    pages[0] = LoadOne(paths[0], identities[0]);
  for (std::future<void>& helper : helpers)
    helper.get();
  for (const std::size_t i : notStarted)
    pages[i] = LoadOne(paths[qsizetype(i)], identities[i]);
  return pages;
}

std::shared_ptr<const TBitmap> ReadAhead::KeptPage(const QString& path,
                                                   std::optional<FileIdentity>& identity) const {
  identity = IdentityOf(path);
  return identity ? store_.Find(path, *identity) : nullptr;
}

std::optional<bool> ReadAhead::KnownLandscape(const QString& path) const {
  std::optional<FileIdentity> identity;
  const std::shared_ptr<const TBitmap> page = KeptPage(path, identity);
  if (!page)
    return std::nullopt;
  return page->Width() > page->Height();
}

bool ReadAhead::IsLandscape(const QString& path) {
  if (const std::optional<bool> known = KnownLandscape(path))
    return *known;
  std::optional<FileIdentity> identity;
  LoadedPage page = LoadOne(path, identity);
  if (page.error)
    std::rethrow_exception(page.error);
  return page.picture.Width() > page.picture.Height();
}

bool ReadAhead::Current(std::uint64_t generation) const {
  return generation == generation_ && !stopping_;
}

std::optional<PageResult> ReadAhead::TakeComposed(const PageRequest& request) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] {
    return !composing_ || !SameComposition(Bound(composing_->request, composing_->files), request);
  });
  // Whatever else was planned was planned for a state that has gone.
  ++generation_;
  queue_.clear();
  std::vector<Composed> ready = std::move(composed_);
  composed_.clear();
  lock.unlock();
  for (Composed& composed : ready) {
    if (!SameComposition(Bound(composed.planned.request, composed.planned.files), request))
      continue;
    if (!StillUnchanged(composed.read))
      break;
    PageResult result = std::move(composed.result);
    result.caption = PageCaption(request, result);
    lock.lock();
    ++composedUsed_;
    return result;
  }
  return std::nullopt;
}

bool ReadAhead::StillUnchanged(const std::vector<std::pair<QString, FileIdentity>>& read) {
  return std::all_of(read.begin(), read.end(),
                     [](auto& file) { return IdentityOf(file.first) == file.second; });
}

void ReadAhead::ComposeNow(const PageRequest& request, PageResult& result) {
  if (beforeFit_ &&
      SameBeforeFit(Bound(beforeFit_->planned.request, beforeFit_->planned.files), request) &&
      StillUnchanged(beforeFit_->read)) {
    result = beforeFit_->result;
    FitComposition(request, beforeFitPicture_, result);
    ++refitted_;
    return;
  }
  DropBeforeFit();
  std::vector<std::pair<QString, FileIdentity>> read;
  bool identified = true;  // every file read was unchanged while it was read
  const PageLoader load = [&](const QStringList& paths) {
    std::vector<std::optional<FileIdentity>> identities;
    std::vector<LoadedPage> pages = Load(paths, identities);
    for (qsizetype i = 0; i < paths.size(); ++i) {
      if (const std::optional<FileIdentity>& identity = identities[std::size_t(i)])
        read.emplace_back(paths[i], *identity);
      else
        identified = false;
    }
    return pages;
  };
  ComposeBeforeFit(request, result, load);
  const bool keep = identified && store_.BytesHeld() + DecodedPageStore::BytesOf(result.picture) <=
                                      store_.Budget();
  if (!keep) {
    FitComposition(request, result.picture, result);
    return;
  }
  beforeFitPicture_ = std::move(result.picture);
  result.picture = TBitmap();
  beforeFit_ = Composed{Planned{*request.files, request}, std::move(read), result};
  FitComposition(request, beforeFitPicture_, result);
}

void ReadAhead::DropBeforeFit() {
  beforeFit_.reset();
  beforeFitPicture_ = TBitmap();
}

void ReadAhead::ComposeAhead(const std::vector<PageRequest>& requests, const QStringList& keep) {
  store_.KeepOnly(keep);
  if (beforeFit_ && !std::all_of(beforeFit_->read.begin(), beforeFit_->read.end(),
                                 [&](auto& file) { return keep.contains(file.first); })) {
    DropBeforeFit();
  }
  {
    const std::lock_guard lock(mutex_);
    ++generation_;
    queue_.clear();
    composed_.clear();
    if (!workAhead_ || stopping_ || requests.empty())
      return;
    for (const PageRequest& request : requests)
      queue_.push_back(Planned{*request.files, request});
    if (!worker_.joinable()) {
      try {
        worker_ = std::thread(&ReadAhead::WorkerLoop, this);
      } catch (const std::system_error&) {
        queue_.clear();  // no thread to be had: nothing is read ahead
        return;
      }
    }
  }
  changed_.notify_all();
}

void ReadAhead::WorkerLoop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
    if (stopping_)
      return;
    Planned planned = std::move(queue_.front());
    queue_.erase(queue_.begin());
    const std::uint64_t generation = generation_;
    composing_ = planned;
    lock.unlock();
    Compose(std::move(planned), generation);
    lock.lock();
    composing_.reset();
    changed_.notify_all();
  }
}

void ReadAhead::Compose(Planned planned, std::uint64_t generation) {
  Composed composed{std::move(planned), {}, {}};
  const PageRequest request = Bound(composed.planned.request, composed.planned.files);
  bool unchanged = true;  // every file read was unchanged while it was read
  const PageLoader load = [&](const QStringList& paths) {
    std::vector<LoadedPage> pages(std::size_t(paths.size()));
    for (qsizetype i = 0; i < paths.size(); ++i) {
      const QString& path = paths[i];
      LoadedPage& loaded = pages[std::size_t(i)];
      std::optional<FileIdentity> identity;
      std::shared_ptr<const TBitmap> page = KeptPage(path, identity);
      if (!page) {
        {
          const std::lock_guard lock(mutex_);
          if (!Current(generation))
            throw Cancelled{};
          decoding_ = path;
        }
        try {
          page = Decode(path, identity);
        } catch (...) {
          loaded.error = std::current_exception();
        }
        {
          const std::lock_guard lock(mutex_);
          decoding_.clear();
        }
        changed_.notify_all();
      }
      if (page)
        loaded.picture = *page;
      unchanged = unchanged && identity.has_value();
      if (identity)
        composed.read.emplace_back(path, *identity);
    }
    return pages;
  };
  try {
    ComposePage(request, composed.result, load);
  } catch (...) {
    return;  // never shown: the turn loads the page itself and reports its error then
  }
  const std::size_t bytes = DecodedPageStore::BytesOf(composed.result.picture);
  const std::lock_guard lock(mutex_);
  if (unchanged && Current(generation) && store_.BytesHeld() + bytes <= store_.Budget())
    composed_.push_back(std::move(composed));
}

void ReadAhead::Stop() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    ++generation_;
    queue_.clear();
    composed_.clear();
  }
  changed_.notify_all();
  if (worker_.joinable())
    worker_.join();
}

int ReadAhead::ComposedUsed() const {
  const std::lock_guard lock(mutex_);
  return composedUsed_;
}

void ReadAhead::WaitIdle() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return queue_.empty() && !composing_; });
}

}  // namespace kelpra

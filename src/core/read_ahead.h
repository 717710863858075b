// Work done before the user asks for it: pages decoded once and reused while their files stay
// unchanged, both pages of a spread decoded at the same time, and the compositions that Next and
// Previous will ask for made on a worker thread while the current ones are looked at. The owner
// (the window's thread) asks and receives; the worker never sees the window or its file list.
#pragma once

#include <QString>
#include <QStringList>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "core/decoded_page_store.h"
#include "core/file_identity.h"
#include "core/page_composer.h"
#include "core/path_list.h"

namespace kelpra {

class ReadAhead {
 public:
  // workAhead false: pages are still reused and decoded together, but nothing is composed ahead
  // (the benchmarks' comparison).
  explicit ReadAhead(bool workAhead = true,
                     std::size_t budgetBytes = DecodedPageStore::DefaultBudget());
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // The switch the benchmarks use: read-ahead is on unless KELPRA_NO_READ_AHEAD=1.
  static bool WorkAheadFromEnvironment();
  bool WorksAhead() const { return workAhead_; }

  // ComposePage's loader: valid kept pages are copied, the others decoded (several at once) and
  // kept.
  PageLoader Loader();
  std::vector<LoadedPage> Load(const QStringList& paths);
  // The same, with the identity each file had as its page was read (none where it changed).
  std::vector<LoadedPage> Load(const QStringList& paths,
                               std::vector<std::optional<FileIdentity>>& identities);

  // ComposePage with this reader's pages, for the window's thread only. The last composition
  // before its fit is kept while its files are unchanged, so that a request differing only in
  // the client size (a resize) is only fitted again.
  void ComposeNow(const PageRequest& request, PageResult& result);

  // Whether the file's picture is wider than tall, from its kept page when it is still valid;
  // else the file is decoded (and kept). Throws as LoadFile does.
  bool IsLandscape(const QString& path);
  // The same from the kept page only; none when there is no valid one.
  std::optional<bool> KnownLandscape(const QString& path) const;

  // A composition made ahead for exactly this request, with every file it read unchanged; the
  // caption is made anew. A composition still under way for it is waited for. Any other work
  // ahead is dropped.
  std::optional<PageResult> TakeComposed(const PageRequest& request);

  // Drops the work ahead and the pages not named in keep, then composes the requests (in this
  // order) on the worker. The requests' files are copied; their list pointer is not kept.
  void ComposeAhead(const std::vector<PageRequest>& requests, const QStringList& keep);

  // Drops the work ahead and waits for the worker to end; nothing is composed ahead afterwards.
  void Stop();

  const DecodedPageStore& Store() const { return store_; }
  // Compositions made ahead that a turn has used, since construction.
  int ComposedUsed() const;
  // ComposeNow's compositions that were only fitted again, since construction.
  int Refitted() const { return refitted_; }
  // Blocks until the worker has nothing left to do (tests and benchmarks).
  void WaitIdle();

 private:
  struct Planned {
    PathList files;
    PageRequest request;  // request.files is set to &files when it is used
  };
  struct Composed {
    Planned planned;
    std::vector<std::pair<QString, FileIdentity>> read;  // every file read, as it was
    PageResult result;
  };
  struct Cancelled {};

  // One page from the store or the disk; decoded pages are kept when their file did not change
  // while they were read. identity receives the file's identity as read.
  LoadedPage LoadOne(const QString& path, std::optional<FileIdentity>& identity);
  // The kept page of path if its file is unchanged, else null; identity receives the file's
  // identity now (none when it cannot be read).
  std::shared_ptr<const TBitmap> KeptPage(const QString& path,
                                          std::optional<FileIdentity>& identity) const;
  std::shared_ptr<const TBitmap> Decode(const QString& path, std::optional<FileIdentity>& identity);
  static bool StillUnchanged(const std::vector<std::pair<QString, FileIdentity>>& read);
  void DropBeforeFit();
  void WorkerLoop();
  void Compose(Planned planned, std::uint64_t generation);
  bool Current(std::uint64_t generation) const;  // with mutex_ held

  const bool workAhead_;
  DecodedPageStore store_;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::uint64_t generation_ = 0;  // a new one drops all work of the older ones
  std::vector<Planned> queue_;
  std::optional<Planned> composing_;  // the worker's composition under way
  QString decoding_;                  // the page the worker is decoding
  std::vector<Composed> composed_;
  int composedUsed_ = 0;
  // ComposeNow's last composition before the fit (its picture apart); the window's thread only.
  std::optional<Composed> beforeFit_;
  TBitmap beforeFitPicture_;
  int refitted_ = 0;
  bool stopping_ = false;
  std::thread worker_;
};

// Whether two requests make the same picture from the same files (the caption aside).
bool SameComposition(const PageRequest& a, const PageRequest& b);
// The same but for the fit: the client sizes may differ if they consider the same pages.
bool SameBeforeFit(const PageRequest& a, const PageRequest& b);

}  // namespace kelpra

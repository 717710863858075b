#include "core/file_identity.h"

#include <sys/stat.h>

#include "core/file_names.h"

namespace kelpra {

namespace {

#ifdef _WIN32
std::int64_t Nanoseconds(std::int64_t seconds) {
  return seconds * 1000000000;
}
#else
std::int64_t Nanoseconds(const timespec& time) {
  return std::int64_t(time.tv_sec) * 1000000000 + time.tv_nsec;
}
#endif

}  // namespace

std::optional<FileIdentity> IdentityOf(const QString& path) {
  FileIdentity identity;
#ifdef _WIN32
  struct _stat64 status;
  if (_wstat64(NativePath(path).c_str(), &status) != 0)
    return std::nullopt;
  identity.modifiedNs = Nanoseconds(status.st_mtime);
  identity.changedNs = Nanoseconds(status.st_ctime);
#else
  struct stat status;
  if (::stat(NativePath(path).c_str(), &status) != 0)
    return std::nullopt;
  identity.modifiedNs = Nanoseconds(status.st_mtim);
  identity.changedNs = Nanoseconds(status.st_ctim);
#endif
  identity.device = std::uint64_t(status.st_dev);
  identity.inode = std::uint64_t(status.st_ino);
  identity.size = std::int64_t(status.st_size);
  return identity;
}

}  // namespace kelpra

#include "codecs/file_replacer.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <random>

namespace kelpra {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr int kMaxLinkDepth = 40;  // as the system's own limit on links in one path
constexpr const char kTemporaryLetters[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kTemporaryLetterCount = 6;
// Hidden, and marked as ours, so that cleaning up never takes a user's "kelpra.ini.backup".
constexpr const char kTemporaryMark[] = ".kelpra-";

[[noreturn]] void ThrowErrno(int error) {
  throw FileWriteError(std::strerror(error));
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
  return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

std::filesystem::path FollowLinks(std::filesystem::path path) {
  for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
      return path;
    std::error_code error;
    const std::filesystem::path link = std::filesystem::read_symlink(path, error);
    if (error)
      ThrowErrno(error.value());
    path = link.is_absolute() ? link : FolderOf(path) / link;
  }
  ThrowErrno(ELOOP);
}

bool IsTemporaryName(const std::string& name, const std::string& prefix) {
  if (name.size() != prefix.size() + kTemporaryLetterCount || !name.starts_with(prefix))
    return false;
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    if (name[i] == '\0' || !std::strchr(kTemporaryLetters, name[i]))
      return false;
  }
  return true;
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

std::string TemporaryPrefix(const std::filesystem::path& target) {
  const std::string name = target.filename().string();
  const long limit = pathconf(FolderOf(target).c_str(), _PC_NAME_MAX);
  const std::size_t longest = limit > 0 ? std::size_t(limit) : 255;
  const std::size_t marks = 1 + (sizeof kTemporaryMark - 1) + kTemporaryLetterCount;
  const std::size_t room = std::max(longest, marks + 1) - marks;
  std::size_t keep = std::min(name.size(), room);
  // Cut before a character's first byte, never inside a character.
  while (keep > 0 && keep < name.size() && (std::uint8_t(name[keep]) & 0xC0) == 0x80)
    --keep;
  return '.' + name.substr(0, keep) + kTemporaryMark;
}

FileReplacer::FileReplacer(const std::filesystem::path& target) : target_(FollowLinks(target)) {
  struct stat info;
  if (stat(target_.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode))
      throw FileWriteError("it is a folder");
    if (!S_ISREG(info.st_mode))
      throw FileWriteError("it is not a regular file");
    // The rename would replace a file the user may not write; refuse as writing into it would.
    if (faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0)
      ThrowErrno(errno);
  } else if (errno != ENOENT) {
    ThrowErrno(errno);
  }

  const std::string prefix = (FolderOf(target_) / TemporaryPrefix(target_)).string();
  std::random_device seed;
  std::mt19937 random(seed());
  std::uniform_int_distribution<std::size_t> letter(0, sizeof kTemporaryLetters - 2);
  for (int attempt = 0; fd_ < 0; ++attempt) {
    std::string name = prefix;
    for (std::size_t i = 0; i < kTemporaryLetterCount; ++i)
      name += kTemporaryLetters[letter(random)];
    fd_ = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      temporary_ = name;
    } else if (errno != EEXIST || attempt == 100) {
      ThrowErrno(errno);
    }
  }
  // Marks the file as busy, so that cleaning up after an interrupted write leaves it alone.
  flock(fd_, LOCK_EX | LOCK_NB);
  buffer_.reserve(kBufferSize);
}

FileReplacer::~FileReplacer() {
  if (fd_ >= 0)
    close(fd_);
  if (!temporary_.empty())
    unlink(temporary_.c_str());
}

void FileReplacer::Write(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    const std::size_t part = std::min(size, kBufferSize - buffer_.size());
    buffer_.insert(buffer_.end(), bytes, bytes + part);
    bytes += part;
    size -= part;
    if (buffer_.size() == kBufferSize)
      Flush();
  }
}

void FileReplacer::Flush() {
  const std::uint8_t* at = buffer_.data();
  std::size_t left = buffer_.size();
  while (left > 0) {
    const ssize_t written = write(fd_, at, left);
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      ThrowErrno(written < 0 ? errno : ENOSPC);
    at += written;
    left -= std::size_t(written);
  }
  buffer_.clear();
}

void FileReplacer::Commit() {
  Flush();
  // On disk before the rename, so a crash cannot leave an empty file under the old name.
  if (fsync(fd_) != 0)
    ThrowErrno(errno);
  struct stat old;
  if (stat(target_.c_str(), &old) == 0) {
    // Owner first: a change of owner clears the set-id bits that the mode then restores. Only
    // root may give a file away; for anyone else the user's own new file is as good.
    const int ownerKept = fchown(fd_, old.st_uid, old.st_gid);
    static_cast<void>(ownerKept);
    fchmod(fd_, old.st_mode & 07777);
  }
  // Renamed while still open and locked, so that no cleaning up after another write takes it.
  if (rename(temporary_.c_str(), target_.c_str()) != 0)
    ThrowErrno(errno);
  temporary_.clear();
  close(fd_);  // written and synced: nothing is left that closing could lose
  fd_ = -1;
}

void RemoveLeftoverTemporaries(const std::filesystem::path& target) {
  std::filesystem::path file;
  try {
    file = FollowLinks(target);
  } catch (const FileWriteError&) {
    return;
  }
  const std::unique_ptr<DIR, DirCloser> dir(opendir(FolderOf(file).c_str()));
  if (!dir)
    return;
  const std::string prefix = TemporaryPrefix(file);
  while (const dirent* entry = readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (!IsTemporaryName(name, prefix))
      continue;
    // Not a link (that would be someone else's), not blocking on a FIFO.
    const int fd = openat(dirfd(dir.get()), name.c_str(),
                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
      continue;
    struct stat info;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid() &&
        flock(fd, LOCK_EX | LOCK_NB) == 0) {
      unlinkat(dirfd(dir.get()), name.c_str(), 0);
    }
    close(fd);
  }
}

}  // namespace kelpra

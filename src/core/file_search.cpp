#include "core/file_search.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelpra {

namespace {

constexpr QChar kDelimiter = u'/';

constexpr std::array<const char*, 5> kFileTypes = {".bmp", ".jpg", ".jpeg", ".gif", ".png"};

QString IncludeTrailingDelimiter(const QString& folder) {
  return folder.endsWith(kDelimiter) ? folder : folder + kDelimiter;
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

// Folders already entered, by device and inode, so that a link back up the tree is not
// walked forever.
using VisitedFolders = std::set<std::pair<dev_t, ino_t>>;

// One entry of a folder, as the file system returned it.
struct Entry {
  std::string name;
  bool folder;
};

bool IsFolder(int folder, const char* name, unsigned char type) {
  if (type == DT_DIR)
    return true;
  if (type != DT_LNK && type != DT_UNKNOWN)
    return false;
  struct stat info;
  return fstatat(folder, name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

// Opens a folder by a path of any length. A path too long for the system to take whole is
// opened part by part, each relative to the one before, with one folder open at a time.
int OpenFolder(const std::string& path) {
  constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
  if (path.size() < PATH_MAX)
    return open(path.c_str(), kFlags);
  const std::size_t cut = path.rfind('/', PATH_MAX - 2);
  if (cut == std::string::npos) {
    errno = ENAMETOOLONG;
    return -1;
  }
  int fd = open(path.substr(0, cut + 1).c_str(), kFlags);
  for (std::size_t start = cut + 1; fd >= 0 && start < path.size();) {
    const std::size_t end = std::min(path.find('/', start), path.size());
    if (end > start) {
      const int next = openat(fd, path.substr(start, end - start).c_str(), kFlags);
      const int error = errno;
      close(fd);
      fd = next;
      errno = error;
    }
    start = end + 1;
  }
  return fd;
}

// Reads the entries of folder (ending in a delimiter) and closes it again, so that a walk holds
// no folder open while it goes deeper. Returns errno when the folder cannot be opened, 0
// otherwise; a folder already entered yields no entries.
int ReadFolder(const std::string& folder, VisitedFolders& visited, std::vector<Entry>& entries) {
  const int fd = OpenFolder(folder);
  if (fd < 0)
    return errno;
  const DirHandle dir(fdopendir(fd));
  if (!dir) {
    const int error = errno;
    close(fd);
    return error;
  }
  struct stat info;
  if (fstat(fd, &info) == 0 && !visited.insert({info.st_dev, info.st_ino}).second)
    return 0;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..")
      continue;
    entries.push_back({std::string(name), IsFolder(fd, entry->d_name, entry->d_type)});
  }
  return 0;
}

// Adds every entry of folder (ending in a delimiter) that is not a folder to paths; with
// recursive, enters each subfolder as soon as the walk meets it, depth first in the order the
// file system returns the entries. Returns errno when folder itself cannot be opened. Kept as a
// stack of its own rather than recursion, so that no depth of tree can exhaust the call stack.
int Walk(std::string folder, bool recursive, VisitedFolders& visited, QStringList& paths) {
  struct Level {
    std::vector<Entry> entries;
    std::size_t next = 0;
    std::size_t pathLength = 0;  // of the folder whose entries these are
  };
  std::vector<Level> levels(1);
  levels[0].pathLength = folder.size();
  if (const int error = ReadFolder(folder, visited, levels[0].entries))
    return error;
  while (!levels.empty()) {
    Level& level = levels.back();
    if (level.next == level.entries.size()) {
      levels.pop_back();
      continue;
    }
    const Entry& entry = level.entries[level.next++];
    folder.resize(level.pathLength);
    folder += entry.name;
    if (!entry.folder) {
      paths.append(FileNameFromBytes(folder));
    } else if (recursive) {
      folder += '/';
      Level inside;
      inside.pathLength = folder.size();
      // An unreadable subfolder contributes nothing.
      if (ReadFolder(folder, visited, inside.entries) == 0)
        levels.push_back(std::move(inside));
    }
  }
  return 0;
}

QString FolderError(const QString& folder, int error) {
  if (error == ENOENT || error == ENOTDIR) {
    return QStringLiteral("The folder \"%1\" does not exist.").arg(DisplayName(folder));
  }
  return QStringLiteral("The folder \"%1\" cannot be listed: %2.")
      .arg(DisplayName(folder), QString::fromLocal8Bit(std::strerror(error)));
}

int ListFolder(const QString& folder, const QString& fileName, PathList& list,
               bool subdirectories) {
  const QString root = IncludeTrailingDelimiter(folder);
  list.Clear();
  QStringList found;
  VisitedFolders visited;
  if (const int error = Walk(FileNameToBytes(root), subdirectories, visited, found)) {
    throw FileListError(FolderError(root, error).toStdString());
  }
  for (const QString& path : found) {
    if (HasPictureExtension(path))
      list.Add(path);
  }
  const int index = list.IndexOf(fileName);
  return index < 0 ? 0 : index;
}

}  // namespace

bool HasPictureExtension(const QString& path) {
  const QString name = ExtractFileName(path);
  const qsizetype dot = name.lastIndexOf(u'.');
  if (dot < 0)
    return false;
  // Only ASCII capitals are folded, as the extension list is ASCII.
  QString extension = name.mid(dot);
  for (QChar& c : extension) {
    if (c >= u'A' && c <= u'Z')
      c = QChar(c.unicode() + (u'a' - u'A'));
  }
  for (const char* type : kFileTypes) {
    if (extension == QLatin1String(type))
      return true;
  }
  return false;
}

QString ExtractFilePath(const QString& path) {
  return path.left(path.lastIndexOf(kDelimiter) + 1);
}

QString ExtractFileName(const QString& path) {
  return path.mid(path.lastIndexOf(kDelimiter) + 1);
}

QString ExcludeTrailingDelimiter(const QString& folder) {
  return folder.endsWith(kDelimiter) ? folder.chopped(1) : folder;
}

int SearchFiles(const QString& fileName, PathList& list, bool subdirectories) {
  // A bare name (possible from the command line) means a file of the current folder.
  if (ExtractFilePath(fileName).isEmpty()) {
    return ListFolder(QDir::currentPath(), QDir::current().absoluteFilePath(fileName), list,
                      subdirectories);
  }
  return ListFolder(ExtractFilePath(fileName), fileName, list, subdirectories);
}

int SearchFiles(const QString& fileDir, const QString& fileName, PathList& list,
                bool subdirectories) {
  return ListFolder(fileDir, fileName, list, subdirectories);
}

}  // namespace kelpra

#include "core/file_search.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <set>
#include <utility>

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

bool IsFolder(const QByteArray& path, unsigned char type) {
  if (type == DT_DIR)
    return true;
  if (type != DT_LNK && type != DT_UNKNOWN)
    return false;
  struct stat info;
  return stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Adds every entry of folder (ending in a delimiter) that is not a folder to paths; with
// recursive, enters each subfolder as soon as it is met. Returns errno when the folder cannot
// be opened, 0 otherwise.
int Walk(const QString& folder, bool recursive, VisitedFolders& visited, QStringList& paths) {
  const QByteArray encoded = QFile::encodeName(folder);
  DirHandle dir(opendir(encoded.constData()));
  if (!dir)
    return errno;
  struct stat info;
  if (fstat(dirfd(dir.get()), &info) == 0 && !visited.insert({info.st_dev, info.st_ino}).second) {
    return 0;
  }
  while (const dirent* entry = readdir(dir.get())) {
    const QByteArray name(entry->d_name);
    if (name == "." || name == "..")
      continue;
    const QString path = folder + QFile::decodeName(name);
    if (!IsFolder(encoded + name, entry->d_type)) {
      paths.append(path);
    } else if (recursive) {
      // An unreadable subfolder contributes nothing.
      Walk(path + kDelimiter, recursive, visited, paths);
    }
  }
  return 0;
}

QString FolderError(const QString& folder, int error) {
  if (error == ENOENT || error == ENOTDIR) {
    return QStringLiteral("The folder \"%1\" does not exist.").arg(folder);
  }
  return QStringLiteral("The folder \"%1\" cannot be listed: %2.")
      .arg(folder, QString::fromLocal8Bit(std::strerror(error)));
}

int ListFolder(const QString& folder, const QString& fileName, PathList& list,
               bool subdirectories) {
  const QString root = IncludeTrailingDelimiter(folder);
  list.Clear();
  QStringList found;
  VisitedFolders visited;
  if (const int error = Walk(root, subdirectories, visited, found)) {
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

std::filesystem::path NativePath(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
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

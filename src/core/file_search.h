// Building the file list from a folder (SearchFiles).
#pragma once

#include <QString>
#include <stdexcept>

#include "core/file_names.h"
#include "core/path_list.h"

namespace kelpra {

// A folder that cannot be listed; the message names it and the reason.
class FileListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The accepted extensions, compared after ASCII lower-casing: .bmp .jpg .jpeg .gif .png
bool HasPictureExtension(const QString& path);

// The folder part of a path: everything up to and including its last delimiter ("" if none).
QString ExtractFilePath(const QString& path);
// The name part of a path.
QString ExtractFileName(const QString& path);
// A folder without its trailing delimiter.
QString ExcludeTrailingDelimiter(const QString& folder);

// Empties list, lists the folder part of fileName (with every subfolder when subdirectories is
// true) and returns the index of fileName in it, or 0 when it is not there. Throws
// FileListError when the folder cannot be listed (the list is then empty).
int SearchFiles(const QString& fileName, PathList& list, bool subdirectories);
// The same for the folder fileDir, looking up fileName in the result.
int SearchFiles(const QString& fileDir, const QString& fileName, PathList& list,
                bool subdirectories);

}  // namespace kelpra

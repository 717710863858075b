// File names as the program holds them. The file system's names are bytes, mostly UTF-8; old
// archives bring Latin-1 or Shift-JIS names that are not. Each byte that is not part of valid
// UTF-8 is held as one of the lone surrogates U+DC80 to U+DCFF, so every name turns back into
// its own bytes and two different names never become one.
#pragma once

#include <QString>
#include <QUrl>
#include <filesystem>
#include <string>
#include <string_view>

namespace kelpra {

QString FileNameFromBytes(std::string_view bytes);
std::string FileNameToBytes(const QString& name);

// The local file a file: URL names, by the bytes its percent-escapes stand for.
QString LocalFileName(const QUrl& url);

// The picture the command-line argument names, as a full path: a file: URI (what desktop
// launchers pass) names its local file by the bytes of its escapes; a relative path is taken
// from currentFolder. "." parts and doubled delimiters go; links and ".." stay as given, for
// they may lead elsewhere than the text says.
QString StartFileName(const QString& argument, const QString& currentFolder);
// The process's current folder by its bytes.
QString CurrentFolder();

// A path from code that decodes names its own way (Qt's file dialogs show each byte that is not
// UTF-8 as a replacement character) turned back into the file system's names: each part that
// does not exist as given becomes the one entry of its folder that Qt shows so. A part that
// exists, or that no entry or more than one entry matches, stays as it is.
QString ResolveQtDecodedPath(const QString& path);

// The path as the file system spells it.
std::filesystem::path NativePath(const QString& path);

// True when path names a regular file (links followed).
bool IsExistingFile(const QString& path);
// Deletes the file (never a folder); false when it could not.
bool RemoveFile(const QString& path);

// A name fit to be shown: each byte that is not UTF-8 becomes the replacement character.
QString DisplayName(const QString& name);

}  // namespace kelpra

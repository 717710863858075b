#include "core/file_names.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <system_error>

namespace kelpra {

namespace {

constexpr char16_t kFirstEscape = 0xDC80;  // the escape of byte 0x80
constexpr char16_t kLastEscape = 0xDCFF;

bool IsContinuation(std::uint8_t byte) {
  return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at the start of bytes and its code point, or 0 when
// the first byte does not start one (overlong forms, surrogates and values past U+10FFFF are
// not valid).
int ValidSequence(std::string_view bytes, char32_t& codePoint) {
  const auto lead = std::uint8_t(bytes[0]);
  int length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, minimum = 0x80, codePoint = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, minimum = 0x800, codePoint = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, minimum = 0x10000, codePoint = lead & 0x07;
  } else {
    return 0;
  }
  if (bytes.size() < std::size_t(length))
    return 0;
  for (int i = 1; i < length; ++i) {
    const auto byte = std::uint8_t(bytes[i]);
    if (!IsContinuation(byte))
      return 0;
    codePoint = codePoint << 6 | (byte & 0x3F);
  }
  if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
    return 0;
  return length;
}

bool IsEscape(char16_t unit) {
  return unit >= kFirstEscape && unit <= kLastEscape;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out += char(codePoint);
  } else if (codePoint < 0x800) {
    out += char(0xC0 | codePoint >> 6);
    out += char(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += char(0xE0 | codePoint >> 12);
    out += char(0x80 | (codePoint >> 6 & 0x3F));
    out += char(0x80 | (codePoint & 0x3F));
  } else {
    out += char(0xF0 | codePoint >> 18);
    out += char(0x80 | (codePoint >> 12 & 0x3F));
    out += char(0x80 | (codePoint >> 6 & 0x3F));
    out += char(0x80 | (codePoint & 0x3F));
  }
}

// The entry of folder (ending in a delimiter, or empty for the current folder) that Qt shows
// as part; part itself when it exists or when no single entry matches.
QString RealEntryName(const QString& folder, const QString& part) {
  std::error_code error;
  if (!part.contains(QChar::ReplacementCharacter) ||
      std::filesystem::exists(NativePath(folder + part), error)) {
    return part;
  }
  QString found;
  int matches = 0;
  const std::filesystem::path native = NativePath(folder.isEmpty() ? QStringLiteral(".") : folder);
  for (auto it = std::filesystem::directory_iterator(native, error);
       !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (QFile::decodeName(QByteArray::fromStdString(name)) == part) {
      found = FileNameFromBytes(name);
      ++matches;
    }
  }
  return matches == 1 ? found : part;
}

}  // namespace

QString FileNameFromBytes(std::string_view bytes) {
  QString name;
  name.reserve(qsizetype(bytes.size()));
  while (!bytes.empty()) {
    // Runs of ASCII, most of most names, at once.
    const auto ascii = std::size_t(
        std::find_if(bytes.begin(), bytes.end(), [](char c) { return std::uint8_t(c) >= 0x80; }) -
        bytes.begin());
    if (ascii > 0) {
      name += QLatin1String(bytes.data(), qsizetype(ascii));
      bytes.remove_prefix(ascii);
      continue;
    }
    char32_t codePoint = 0;
    const int length = ValidSequence(bytes, codePoint);
    if (length == 0) {
      name += QChar(char16_t(kFirstEscape - 0x80 + std::uint8_t(bytes[0])));
      bytes.remove_prefix(1);
      continue;
    }
    if (QChar::requiresSurrogates(codePoint)) {
      name += QChar(QChar::highSurrogate(codePoint));
      name += QChar(QChar::lowSurrogate(codePoint));
    } else {
      name += QChar(char16_t(codePoint));
    }
    bytes.remove_prefix(std::size_t(length));
  }
  return name;
}

std::string FileNameToBytes(const QString& name) {
  std::string bytes;
  bytes.reserve(std::size_t(name.size()));
  for (qsizetype i = 0; i < name.size(); ++i) {
    const char16_t unit = name[i].unicode();
    if (QChar::isHighSurrogate(unit) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
      AppendUtf8(bytes, QChar::surrogateToUcs4(unit, name[i + 1].unicode()));
      ++i;
    } else if (IsEscape(unit)) {
      bytes += char(unit - kFirstEscape + 0x80);
    } else if (QChar::isSurrogate(unit)) {
      AppendUtf8(bytes, QChar::ReplacementCharacter);  // no byte of any name
    } else {
      AppendUtf8(bytes, unit);
    }
  }
  return bytes;
}

QString LocalFileName(const QUrl& url) {
#ifndef _WIN32
  if (url.isLocalFile() && url.host().isEmpty()) {
    const QByteArray bytes =
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    return FileNameFromBytes({bytes.constData(), std::size_t(bytes.size())});
  }
#endif
  return url.toLocalFile();
}

QString StartFileName(const QString& argument, const QString& currentFolder) {
  if (argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
    const QUrl url(argument);
    const QString local = url.isLocalFile() ? LocalFileName(url) : QString();
    if (QDir::isAbsolutePath(local))
      return local;
  }
  const QString path = QDir::isAbsolutePath(argument) ? argument : currentFolder + u'/' + argument;
  QStringList parts = path.split(u'/');
  // The first part is empty on a root ("/a") and a drive ("C:") on Windows: it stays.
  for (qsizetype i = parts.size() - 1; i > 0; --i) {
    if (parts[i] == u'.' || (parts[i].isEmpty() && i + 1 < parts.size()))
      parts.removeAt(i);
  }
  return parts.join(u'/');
}

QString CurrentFolder() {
#ifndef _WIN32
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::current_path(error);
  if (!error)
    return FileNameFromBytes(folder.native());
#endif
  return QDir::currentPath();
}

QString ResolveQtDecodedPath(const QString& path) {
  const QStringList parts = path.split(u'/');
  QString resolved;
  for (qsizetype i = 0; i < parts.size(); ++i) {
    if (i > 0)
      resolved += u'/';
    resolved += RealEntryName(resolved, parts[i]);
  }
  return resolved;
}

std::filesystem::path NativePath(const QString& path) {
#ifdef _WIN32
  return std::filesystem::path(path.toStdWString());
#else
  return std::filesystem::path(FileNameToBytes(path));
#endif
}

bool IsExistingFile(const QString& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(NativePath(path), error);
}

bool RemoveFile(const QString& path) {
  const std::filesystem::path native = NativePath(path);
  std::error_code error;
  // remove() would take an empty folder too.
  return !std::filesystem::is_directory(std::filesystem::symlink_status(native, error)) &&
         std::filesystem::remove(native, error);
}

QString DisplayName(const QString& name) {
  QString shown = name;
  for (qsizetype i = 0; i < shown.size(); ++i) {
    if (shown[i].isHighSurrogate() && i + 1 < shown.size() && shown[i + 1].isLowSurrogate()) {
      ++i;
    } else if (shown[i].isSurrogate()) {
      shown[i] = QChar::ReplacementCharacter;
    }
  }
  return shown;
}

}  // namespace kelpra

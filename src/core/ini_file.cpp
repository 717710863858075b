#include "core/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "codecs/file_replacer.h"
#include "core/file_names.h"

namespace kelpra {

namespace {

bool SameName(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The section name of a header line "[name]", or nothing.
bool HeaderName(const QString& line, QString& name) {
  const QString trimmed = line.trimmed();
  if (!trimmed.startsWith(QLatin1Char('[')))
    return false;
  const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
  if (close < 0)
    return false;
  name = trimmed.mid(1, close - 1).trimmed();
  return true;
}

// The key of a "key=value" line, or nothing for comments and other text.
bool KeyName(const QString& line, QString& key) {
  const qsizetype equals = line.indexOf(QLatin1Char('='));
  if (equals < 0)
    return false;
  key = line.left(equals).trimmed();
  return !key.isEmpty() && !key.startsWith(QLatin1Char(';')) && !key.startsWith(QLatin1Char('#'));
}

bool IsQuoted(const QString& text) {
  return text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"'));
}

// Values are read trimmed and unquoted, as hand-edited files expect; a value that would lose
// something that way (surrounding blanks or quotes, as a path may have) is written quoted.
QString EncodeValue(const QString& value) {
  if (value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')))
    return {};  // one line per key: such a value cannot be stored
  if (value.trimmed() != value || IsQuoted(value))
    return QLatin1Char('"') + value + QLatin1Char('"');
  return value;
}

QString DecodeValue(const QString& line) {
  QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
  if (IsQuoted(value))
    value = value.mid(1, value.size() - 2);
  return value;
}

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// A line without its line end ("\n" or "\r\n"; the last line may have none).
QByteArray Content(const QByteArray& line) {
  QByteArray content = line;
  if (content.endsWith('\n'))
    content.chop(1);
  if (content.endsWith('\r'))
    content.chop(1);
  return content;
}

QString LineText(const QByteArray& line) {
  const QByteArray content = Content(line);
  return content.isValidUtf8() ? QString::fromUtf8(content) : QString::fromLatin1(content);
}

QString Truncated(QString value) {
  if (value.size() > IniFile::kMaxValueLength) {
    value.truncate(IniFile::kMaxValueLength);
    if (value.back().isHighSurrogate())
      value.chop(1);
  }
  return value;
}

// Why a file of this kind and size is not read as settings, or nothing.
QString NotReadable(mode_t mode, qint64 size) {
  if (S_ISDIR(mode))
    return QStringLiteral("it is a folder");
  if (!S_ISREG(mode))
    return QStringLiteral("it is not a regular file");
  if (size > IniFile::kMaxFileSize)
    return QStringLiteral("it is larger than %1 MiB").arg(IniFile::kMaxFileSize >> 20);
  return {};
}

// Reads fd to its end, but no more than limit bytes, expecting about expected bytes. Returns
// errno, or 0.
int ReadAtMost(int fd, qint64 expected, qint64 limit, QByteArray& bytes) {
  bytes.resize(qsizetype(std::clamp<qint64>(expected + 1, 1, limit)));
  qsizetype got = 0;
  int error = 0;
  for (;;) {
    if (got == bytes.size()) {
      if (got == limit)
        break;
      bytes.resize(qsizetype(std::min<qint64>(2 * qint64(got), limit)));
    }
    const ssize_t part = read(fd, bytes.data() + got, std::size_t(bytes.size() - got));
    if (part < 0 && errno == EINTR)
      continue;
    if (part < 0)
      error = errno;
    if (part <= 0)
      break;
    got += part;
  }
  bytes.truncate(got);
  return error;
}

QString SystemError(int error) {
  return QString::fromLocal8Bit(std::strerror(error));
}

bool ParseDigits(QStringView digits, int base, qint64 limit, qint64& value) {
  if (digits.isEmpty())
    return false;
  value = 0;
  for (const QChar c : digits) {
    const int digit =
        c.isDigit() ? c.digitValue()
        : (base == 16 && c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'))
            ? c.toLower().unicode() - 'a' + 10
            : -1;
    if (digit < 0 || digit >= base || c.unicode() > 127)
      return false;
    value = value * base + digit;
    if (value > limit)
      return false;
  }
  return true;
}

}  // namespace

bool ParseIniInteger(const QString& text, int& value) {
  QString s = text.trimmed();
  if (s.size() > 2 && (s.startsWith(QLatin1String("0x")) || s.startsWith(QLatin1String("0X"))))
    s = QLatin1Char('$') + s.mid(2);
  QStringView rest(s);
  bool negative = false;
  if (rest.startsWith(QLatin1Char('-')) || rest.startsWith(QLatin1Char('+'))) {
    negative = rest.front() == QLatin1Char('-');
    rest = rest.mid(1);
  }
  qint64 magnitude = 0;
  if (rest.startsWith(QLatin1Char('$'))) {
    // Hexadecimal covers the 32 bits: $FFFFFFFF is -1.
    if (!ParseDigits(rest.mid(1), 16, 0xFFFFFFFFLL, magnitude))
      return false;
    const auto bits = static_cast<qint32>(static_cast<quint32>(magnitude));
    value = negative ? static_cast<int>(0u - static_cast<quint32>(bits)) : bits;
    return true;
  }
  const qint64 limit =
      negative ? -qint64(std::numeric_limits<int>::min()) : qint64(std::numeric_limits<int>::max());
  if (!ParseDigits(rest, 10, limit, magnitude))
    return false;
  value = static_cast<int>(negative ? -magnitude : magnitude);
  return true;
}

IniFile::IniFile(QString fileName) : fileName_(std::move(fileName)) {
  sections_.push_back({});
  Read();
}

void IniFile::Read() {
  const std::filesystem::path path = NativePath(fileName_);
  // The kind of file first: opening a FIFO or a device could block or have effects.
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    if (errno != ENOENT && errno != ENOTDIR)  // a missing file or folder: every default
      readProblem_ = SystemError(errno);
    return;
  }
  if (readProblem_ = NotReadable(info.st_mode, info.st_size); !readProblem_.isEmpty())
    return;
  // Checked again on what was opened, in case something else took the file's place meanwhile.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOENT)
      readProblem_ = SystemError(errno);
    return;
  }
  QByteArray bytes;
  if (fstat(fd, &info) != 0) {
    readProblem_ = SystemError(errno);
  } else if (readProblem_ = NotReadable(info.st_mode, info.st_size); readProblem_.isEmpty()) {
    if (const int error = ReadAtMost(fd, info.st_size, kMaxFileSize + 1, bytes))
      readProblem_ = SystemError(error);
    else
      readProblem_ = NotReadable(S_IFREG, bytes.size());  // it may have grown since
  }
  close(fd);
  if (readProblem_.isEmpty())
    Parse(bytes);
}

void IniFile::Parse(QByteArray bytes) {
  if (bytes.startsWith(kByteOrderMark)) {
    byteOrderMark_ = kByteOrderMark;
    bytes.remove(0, byteOrderMark_.size());
  }
  qsizetype start = 0;
  while (start < bytes.size()) {
    const qsizetype newline = bytes.indexOf('\n', start);
    const qsizetype end = newline < 0 ? bytes.size() : newline + 1;
    const QByteArray line = bytes.mid(start, end - start);
    if (start == 0 && line.endsWith("\r\n"))
      lineEnd_ = "\r\n";
    start = end;
    QString name;
    if (HeaderName(LineText(line), name)) {
      sections_.push_back({name, line, {}});
    } else {
      sections_.back().lines.push_back(line);
    }
  }
}

const IniFile::Section* IniFile::FindSection(const QString& name) const {
  for (const Section& section : sections_) {
    if (!section.header.isEmpty() && SameName(section.name, name))
      return &section;
  }
  return nullptr;
}

const QByteArray* IniFile::FindValueLine(const QString& section, const QString& key) const {
  const Section* found = FindSection(section);
  if (!found)
    return nullptr;
  for (const QByteArray& line : found->lines) {
    QString name;
    if (KeyName(LineText(line), name) && SameName(name, key))
      return &line;
  }
  return nullptr;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
  const QByteArray* line = FindValueLine(section, key);
  return line ? Truncated(DecodeValue(LineText(*line))) : def;
}

QString IniFile::ReadFileName(const QString& section, const QString& key,
                              const QString& def) const {
  const QByteArray* line = FindValueLine(section, key);
  if (!line)
    return def;
  const QByteArray content = Content(*line);
  return Truncated(
      DecodeValue(FileNameFromBytes({content.constData(), std::size_t(content.size())})));
}

int IniFile::ReadInteger(const QString& section, const QString& key, int def) const {
  int value = 0;
  return ParseIniInteger(ReadString(section, key, QString()), value) ? value : def;
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::EraseSection(const QString& section) {
  std::erase_if(sections_,
                [&](const Section& s) { return !s.header.isEmpty() && SameName(s.name, section); });
}

void IniFile::WriteLine(const QString& section, const QString& key, const QByteArray& value) {
  auto* found = const_cast<Section*>(FindSection(section));
  if (!found) {
    sections_.push_back({section, '[' + section.toUtf8() + ']' + lineEnd_, {}});
    found = &sections_.back();
  }
  const QByteArray content = key.toUtf8() + '=' + value;
  for (QByteArray& line : found->lines) {
    QString name;
    if (KeyName(LineText(line), name) && SameName(name, key)) {
      line = content + line.mid(Content(line).size());  // keeps its line end
      return;
    }
  }
  // After the section's last non-blank line, so blank lines keep separating sections.
  auto at = found->lines.end();
  while (at != found->lines.begin() && LineText(*(at - 1)).trimmed().isEmpty())
    --at;
  found->lines.insert(at, content + lineEnd_);
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
  WriteLine(section, key, EncodeValue(value).toUtf8());
}

void IniFile::WriteFileName(const QString& section, const QString& key, const QString& name) {
  WriteLine(section, key, QByteArray::fromStdString(FileNameToBytes(EncodeValue(name))));
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value) {
  WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString& section, const QString& key, bool value) {
  WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QByteArray IniFile::Text() const {
  QByteArray text = byteOrderMark_;
  bool lineOpen = false;  // the file's last line may have had no line end
  const auto append = [&](const QByteArray& line) {
    if (lineOpen)
      text += lineEnd_;
    text += line;
    lineOpen = !line.endsWith('\n');
  };
  for (const Section& section : sections_) {
    if (!section.header.isEmpty())
      append(section.header);
    for (const QByteArray& line : section.lines)
      append(line);
  }
  return text;
}

void IniFile::Save() const {
  const auto fail = [this](const QString& reason) {
    return IniFileError(
        QStringLiteral("Cannot write %1: %2").arg(DisplayName(fileName_), reason).toStdString());
  };
  if (!readProblem_.isEmpty())
    throw fail(readProblem_);
  const std::filesystem::path path = NativePath(fileName_);
  try {
    FileReplacer file(path);
    const QByteArray bytes = Text();
    file.Write(bytes.constData(), std::size_t(bytes.size()));
    file.Commit();
  } catch (const FileWriteError& error) {
    throw fail(QString::fromLocal8Bit(error.what()));
  }
  RemoveLeftoverTemporaries(path);
}

}  // namespace kelpra

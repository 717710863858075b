#include "core/ini_file.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <limits>

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

QString DecodeFileText(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8(bytes);
  if (utf8.hasError())
    text = QString::fromLatin1(bytes);  // an older legacy-encoded file: keep every byte
  if (text.startsWith(QChar(0xFEFF)))
    text.remove(0, 1);
  return text;
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
  QFile file(fileName_);
  if (!file.open(QIODevice::ReadOnly))
    return;
  const QString text = DecodeFileText(file.readAll());
  QStringList lines = text.split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.last().isEmpty())
    lines.removeLast();  // the final line break
  for (QString& line : lines) {
    if (line.endsWith(QLatin1Char('\r')))
      line.chop(1);
    QString name;
    if (HeaderName(line, name)) {
      sections_.push_back({name, line, {}});
    } else {
      sections_.back().lines.append(line);
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

const QString* IniFile::FindValueLine(const QString& section, const QString& key) const {
  const Section* found = FindSection(section);
  if (!found)
    return nullptr;
  for (const QString& line : found->lines) {
    QString name;
    if (KeyName(line, name) && SameName(name, key))
      return &line;
  }
  return nullptr;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
  const QString* line = FindValueLine(section, key);
  if (!line)
    return def;
  QString value = DecodeValue(*line);
  if (value.size() > kMaxValueLength) {
    value.truncate(kMaxValueLength);
    if (value.back().isHighSurrogate())
      value.chop(1);
  }
  return value;
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

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
  auto* found = const_cast<Section*>(FindSection(section));
  if (!found) {
    sections_.push_back({section, QLatin1Char('[') + section + QLatin1Char(']'), {}});
    found = &sections_.back();
  }
  const QString newLine = key + QLatin1Char('=') + EncodeValue(value);
  for (QString& line : found->lines) {
    QString name;
    if (KeyName(line, name) && SameName(name, key)) {
      line = newLine;
      return;
    }
  }
  // After the section's last non-blank line, so blank lines keep separating sections.
  qsizetype at = found->lines.size();
  while (at > 0 && found->lines[at - 1].trimmed().isEmpty())
    --at;
  found->lines.insert(at, newLine);
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value) {
  WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString& section, const QString& key, bool value) {
  WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QString IniFile::Text() const {
  QString text;
  for (const Section& section : sections_) {
    if (!section.header.isEmpty())
      text += section.header + QLatin1Char('\n');
    for (const QString& line : section.lines)
      text += line + QLatin1Char('\n');
  }
  return text;
}

void IniFile::Save() const {
  QSaveFile file(fileName_);
  const QByteArray bytes = Text().toUtf8();
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    throw IniFileError(
        QStringLiteral("Cannot write %1: %2").arg(fileName_, file.errorString()).toStdString());
  }
}

}  // namespace kelpra

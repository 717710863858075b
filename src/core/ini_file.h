// The settings file: an INI text of [sections] and key=value lines, UTF-8.
// Section and key names match without regard to case; the first occurrence wins on reading.
#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>
#include <vector>

namespace kelpra {

// The settings file could not be written; the message names the file and the reason.
class IniFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class IniFile {
 public:
  // Reads fileName if it exists and can be read; otherwise starts empty. Never creates anything.
  explicit IniFile(QString fileName);

  // At most kMaxValueLength characters of the value; def when the key is missing.
  QString ReadString(const QString& section, const QString& key, const QString& def) const;
  // Decimal with an optional sign; "0x"/"0X" (longer than two characters) and "$" prefixes are
  // hexadecimal. def when missing or not a valid 32-bit integer.
  int ReadInteger(const QString& section, const QString& key, int def) const;
  // Read as an integer; true when not zero.
  bool ReadBool(const QString& section, const QString& key, bool def) const;

  // Drops every section of that name with all its lines; other sections and text survive.
  void EraseSection(const QString& section);
  // Replaces the key's value, or appends the key to its section (the section to the file).
  // A value holding a line break cannot be stored on one line and is written empty.
  void WriteString(const QString& section, const QString& key, const QString& value);
  void WriteInteger(const QString& section, const QString& key, int value);
  void WriteBool(const QString& section, const QString& key, bool value);

  // Writes a temporary file beside the target and renames it over the target, so a failed write
  // leaves the previous file whole. Throws IniFileError.
  void Save() const;

  // The whole text as Save writes it.
  QString Text() const;

  static constexpr int kMaxValueLength = 2047;

 private:
  // The text before the first header is a section without a header.
  struct Section {
    QString name;
    QString header;     // the header line as it stands
    QStringList lines;  // the lines up to the next header, as they stand
  };

  const Section* FindSection(const QString& name) const;
  const QString* FindValueLine(const QString& section, const QString& key) const;

  QString fileName_;
  std::vector<Section> sections_;
};

// Integer parsing as ReadInteger does it: decimal with an optional sign, or hexadecimal after "$"
// ("0x" longer than two characters is read as "$"); false when text is not a valid 32-bit integer.
bool ParseIniInteger(const QString& text, int& value);

}  // namespace kelpra

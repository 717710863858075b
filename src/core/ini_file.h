// The settings file: an INI text of [sections] and key=value lines, UTF-8.
// Section and key names match without regard to case; the first occurrence wins on reading.
// Every line is kept as the bytes it was read as, so text the program does not change (other
// sections, comments, Latin-1 bytes, CRLF line ends) is written back byte for byte.
#pragma once

#include <QByteArray>
#include <QString>
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
  // Reads fileName if it is a regular file of at most kMaxFileSize bytes; a missing file
  // starts empty. Never creates anything, never blocks on a FIFO or device.
  explicit IniFile(QString fileName);

  // Why a file that exists was not read ("it is not a regular file"), or empty. Such a file
  // is not replaced by Save, as what it holds was never seen.
  const QString& ReadProblem() const { return readProblem_; }

  // At most kMaxValueLength characters of the value; def when the key is missing. A line that
  // is not valid UTF-8 is read as Latin-1, as older legacy-encoded files are.
  QString ReadString(const QString& section, const QString& key, const QString& def) const;
  // The value as a file name: its bytes as they stand (FileNameFromBytes).
  QString ReadFileName(const QString& section, const QString& key, const QString& def) const;
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
  // Writes the name's own bytes (FileNameToBytes), so that any file name comes back.
  void WriteFileName(const QString& section, const QString& key, const QString& name);
  void WriteInteger(const QString& section, const QString& key, int value);
  void WriteBool(const QString& section, const QString& key, bool value);

  // Writes a temporary file beside the target and renames it over the target, so a failed write
  // leaves the previous file whole; then removes temporary files that interrupted writes left.
  // Throws IniFileError, also for a file that was there but not read (ReadProblem).
  void Save() const;

  // The whole file as Save writes it.
  QByteArray Text() const;

  static constexpr int kMaxValueLength = 2047;
  // Hundreds of times what the program writes, so hand-added sections fit, and little enough
  // that a wrong file (a log, a picture) named so is refused at once instead of read whole.
  static constexpr qint64 kMaxFileSize = 1024 * 1024;

 private:
  // The text before the first header is a section without a header. Lines keep their line end.
  struct Section {
    QString name;
    QByteArray header;  // the header line as it stands
    std::vector<QByteArray> lines;
  };

  void Read();
  void Parse(QByteArray bytes);
  void WriteLine(const QString& section, const QString& key, const QByteArray& value);
  const Section* FindSection(const QString& name) const;
  const QByteArray* FindValueLine(const QString& section, const QString& key) const;

  QString fileName_;
  QString readProblem_;
  QByteArray byteOrderMark_;
  QByteArray lineEnd_ = "\n";  // for new lines: the file's own
  std::vector<Section> sections_;
};

// Integer parsing as ReadInteger does it: decimal with an optional sign, or hexadecimal after "$"
// ("0x" longer than two characters is read as "$"); false when text is not a valid 32-bit integer.
bool ParseIniInteger(const QString& text, int& value);

}  // namespace kelpra

// The settings file reader: any bytes as the INI file, then the reads and edits the viewer does.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/ini_file.h"

namespace {

// One scratch file per process, removed at exit.
const std::string& ScratchFile() {
  static const std::string name = [] {
    std::string pattern = "/tmp/kelpra-fuzz-ini-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0)
      std::abort();
    close(fd);
    std::atexit([] { std::remove(ScratchFile().c_str()); });
    return pattern;
  }();
  return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(ScratchFile().c_str(), "wb");
  if (!file)
    std::abort();
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  kelpra::IniFile ini(QString::fromStdString(ScratchFile()));
  // Untouched, every byte comes back as it was.
  if (ini.ReadProblem().isEmpty() &&
      ini.Text() != QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))) {
    std::abort();
  }
  const QString text = QString::fromUtf8(ini.Text());
  // Names taken from the input itself reach every lookup path.
  const QString name = text.left(16);
  (void)ini.ReadString("CONFIG", name, "x");
  (void)ini.ReadInteger(name, "Left", 7);
  (void)ini.ReadBool("MENU", "Stretch", true);
  const QString fileName = ini.ReadFileName("CONFIG", "Last file", name);
  const int value = ini.ReadInteger("SETTING", name, -1);
  ini.WriteString("CONFIG", name, text.mid(16, 64));
  ini.WriteInteger("SETTING", "AutoInt", value);
  ini.WriteFileName("CONFIG", "Last file", fileName);
  const bool oneLine = !fileName.contains(u'\n') && !fileName.contains(u'\r');
  if (oneLine && ini.ReadFileName("CONFIG", "Last file", "") != fileName)
    std::abort();
  ini.EraseSection(name);
  ini.EraseSection("MENU");
  if (ini.ReadInteger("SETTING", "AutoInt", value + 1) != value)
    std::abort();
  (void)ini.Text();
  return 0;
}

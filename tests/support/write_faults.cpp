#include "support/write_faults.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <iterator>

#include "support/child_process.h"

namespace kelpra::test {

namespace {

std::string FullDisk(const std::filesystem::path& folder, const std::function<void()>& writeOld) {
  // A small file fits any buffer, so only a checked flush can notice the full disk.
  if (std::string mounted = MountPrivateTmpfs(folder, 64); !mounted.empty())
    return mounted;
  writeOld();
  return FillFileSystem(folder);
}

std::string FileSizeLimit(const std::filesystem::path&, const std::function<void()>& writeOld) {
  writeOld();
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit small{40, 40};  // less than any file the program writes
  return setrlimit(RLIMIT_FSIZE, &small) == 0 ? "" : "setrlimit failed";
}

std::string ReadOnlyFile(const std::filesystem::path& folder,
                         const std::function<void()>& writeOld) {
  writeOld();
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    chmod(entry.path().c_str(), 0444);
  return BecomeNobody();  // root ignores file modes
}

std::string ReadOnlyFolder(const std::filesystem::path& folder,
                           const std::function<void()>& writeOld) {
  writeOld();
  chmod(folder.c_str(), 0555);
  return BecomeNobody();
}

std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

const std::vector<WriteFault>& WriteFaults() {
  static const std::vector<WriteFault> faults = {
      {"FullDisk", "No space left on device", FullDisk},
      {"FileSizeLimit", "File too large", FileSizeLimit},
      {"ReadOnlyFile", "Permission denied", ReadOnlyFile},
      {"ReadOnlyFolder", "Permission denied", ReadOnlyFolder},
  };
  return faults;
}

std::string ExpectWriteFails(const WriteFault& fault, const std::filesystem::path& folder,
                             const std::string& fileName, const std::string& oldBytes,
                             const std::function<std::string()>& write) {
  std::filesystem::create_directories(folder);
  // The user "nobody" must reach the folder and own it.
  for (std::filesystem::path up = folder.parent_path(); up != up.root_path();
       up = up.parent_path()) {
    struct stat info;
    if (stat(up.c_str(), &info) == 0 && (info.st_mode & 0001) == 0)
      chmod(up.c_str(), info.st_mode | 0111);
  }
  if (chown(folder.c_str(), NobodyUid(), NobodyGid()) != 0)
    return "cannot give the folder to nobody";
  const std::filesystem::path file = folder / fileName;
  return RunInChild([&]() -> std::string {
    const auto writeOld = [&] {
      std::ofstream(file, std::ios::binary) << oldBytes;
      const int ignored = chown(file.c_str(), NobodyUid(), NobodyGid());
      static_cast<void>(ignored);
    };
    if (std::string prepared = fault.prepare(folder, writeOld); !prepared.empty())
      return prepared;
    const std::vector<std::string> before = FolderEntries(folder);
    const std::string message = write();
    const std::string ending = std::string(": ") + fault.reason;
    if (message.size() < ending.size() ||
        message.compare(message.size() - ending.size(), ending.size(), ending) != 0) {
      return "message: " + message;
    }
    if (ReadFile(file) != oldBytes)
      return "the old file changed";
    if (FolderEntries(folder) != before)
      return "the folder holds other files than before";
    return {};
  });
}

}  // namespace kelpra::test

// The faults every writer of files must survive, shown the same way for each of them: the
// write fails with the reason, the old file stays whole and nothing is left beside it.
#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace kelpra::test {

struct WriteFault {
  const char* name;
  const char* reason;  // as the system states it
  // Runs in a child on a folder that belongs to the user "nobody". Calls writeOld to put the old
  // file in place, then brings the fault about. Empty on success, else what went wrong.
  std::string (*prepare)(const std::filesystem::path& folder,
                         const std::function<void()>& writeOld);
};

inline void PrintTo(const WriteFault& fault, std::ostream* out) {
  *out << fault.name;
}

// The names in folder, sorted.
std::vector<std::string> FolderEntries(const std::filesystem::path& folder);

// A full disk (a tiny file system of the child's own), the file-size limit (the same fault
// without a mount), a read-only file and a read-only folder (as an ordinary user).
const std::vector<WriteFault>& WriteFaults();

// Writes oldBytes to folder / fileName, brings fault about and runs write, which returns the
// message of the error it met or "no error". Empty when the message ends in the fault's reason,
// the old file is whole and the folder holds what it held before; else what differed. When the
// system offers no mount namespaces, returns kNoNamespace for the full disk.
std::string ExpectWriteFails(const WriteFault& fault, const std::filesystem::path& folder,
                             const std::string& fileName, const std::string& oldBytes,
                             const std::function<std::string()>& write);

}  // namespace kelpra::test

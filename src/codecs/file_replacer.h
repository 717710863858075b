// Writing a file so that a failure never costs the file it replaces: the bytes go to a
// temporary file beside the target, which is renamed over the target once all is on disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace kelpra {

// A write that could not be done; the message is the reason alone ("Permission denied").
class FileWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class FileReplacer {
 public:
  // Follows symbolic links to the file they name, so a link is written through, never replaced.
  // Refuses a target that is not a regular file or that the user may not write, then creates
  // the temporary file. Throws FileWriteError.
  explicit FileReplacer(const std::filesystem::path& target);
  // Removes the temporary file unless Commit has renamed it.
  ~FileReplacer();
  FileReplacer(const FileReplacer&) = delete;
  FileReplacer& operator=(const FileReplacer&) = delete;

  // Every byte is checked on its way to the file, so a full disk shows here or in Commit.
  void Write(const void* data, std::size_t size);
  // Writes what is buffered, puts it on disk, gives the new file the permissions of the file it
  // replaces and renames it over the target. Throws FileWriteError; the target is then as it was.
  void Commit();

  // The file that is written: the target with its links followed.
  const std::filesystem::path& Target() const { return target_; }

 private:
  void Flush();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  int fd_ = -1;
  std::vector<std::uint8_t> buffer_;
};

// What the temporary files of target are called: this prefix, then six letters or digits.
// The prefix is a dot, the target's name and ".kelpra-" (".kelpra.ini.kelpra-"), the name
// shortened where needed so that every temporary name fits the folder's limit on name length.
std::string TemporaryPrefix(const std::filesystem::path& target);

// Removes temporary files of target that an interrupted write left behind: regular files of
// this user, named as TemporaryPrefix says, that no write is busy with. Nothing else is touched.
void RemoveLeftoverTemporaries(const std::filesystem::path& target);

}  // namespace kelpra

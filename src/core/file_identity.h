// What tells one state of a file from another: a decoded page is reused only while its file's
// identity is the one it had when it was decoded.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace kelpra {

struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::int64_t modifiedNs = 0;
  // Rewriting a file changes its status-change time even when its modification time is set back.
  std::int64_t changedNs = 0;

  bool operator==(const FileIdentity&) const = default;
};

// The identity of the file a path names, following links as opening it does; none when it
// cannot be found.
std::optional<FileIdentity> IdentityOf(const QString& path);

}  // namespace kelpra

// Running a piece of a test in a forked child, where it may give up root or see a mount of its
// own without touching the test program itself.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace kelpra::test {

// Runs body in a forked child and returns what it returned: empty when all went as expected,
// else a description of what did not. A child that crashes or exits otherwise says so.
std::string RunInChild(const std::function<std::string()>& body);

// For a child: becomes the unprivileged user "nobody", so that file modes apply as they do to
// a user. Empty on success, else the reason.
std::string BecomeNobody();
// The user and group ids of "nobody", to give it files and folders before the child starts.
unsigned NobodyUid();
unsigned NobodyGid();

// For a child: enters a mount namespace of its own and mounts a file system in memory of
// sizeKiB at folder, seen by this child only. Empty on success, else the reason; kNoNamespace
// when the system does not allow it (no privilege for mount namespaces).
std::string MountPrivateTmpfs(const std::filesystem::path& folder, int sizeKiB);
inline constexpr const char* kNoNamespace = "mount namespaces are not available";

// For a child: fills the file system that holds folder until it has no room left.
std::string FillFileSystem(const std::filesystem::path& folder);

}  // namespace kelpra::test

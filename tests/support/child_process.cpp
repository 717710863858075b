#include "support/child_process.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace kelpra::test {

namespace {

std::string Failed(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

const passwd* Nobody() {
  static const passwd* const nobody = getpwnam("nobody");
  return nobody;
}

}  // namespace

std::string RunInChild(const std::function<std::string()>& body) {
  int channel[2];
  if (pipe(channel) != 0)
    return Failed("pipe");
  const pid_t child = fork();
  if (child < 0)
    return Failed("fork");
  if (child == 0) {
    close(channel[0]);
    std::string result;
    try {
      result = body();
    } catch (const std::exception& error) {
      result = std::string("exception: ") + error.what();
    }
    const char* at = result.data();
    std::size_t left = result.size();
    while (left > 0) {
      const ssize_t written = write(channel[1], at, left);
      if (written <= 0)
        break;
      at += written;
      left -= std::size_t(written);
    }
    _exit(0);  // no destructors or exit handlers of the parent's objects
  }
  close(channel[1]);
  std::string result;
  char buffer[512];
  ssize_t got;
  while ((got = read(channel[0], buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)) {
    if (got > 0)
      result.append(buffer, std::size_t(got));
  }
  close(channel[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return "the child ended abnormally (status " + std::to_string(status) + "): " + result;
  return result;
}

unsigned NobodyUid() {
  return Nobody() ? Nobody()->pw_uid : 65534;
}

unsigned NobodyGid() {
  return Nobody() ? Nobody()->pw_gid : 65534;
}

std::string BecomeNobody() {
  if (setgroups(0, nullptr) != 0 && errno != EPERM)
    return Failed("setgroups");
  if (setgid(NobodyGid()) != 0)
    return Failed("setgid");
  if (setuid(NobodyUid()) != 0)
    return Failed("setuid");
  if (geteuid() == 0)
    return "still root";
  return {};
}

std::string MountPrivateTmpfs(const std::filesystem::path& folder, int sizeKiB) {
  if (unshare(CLONE_NEWNS) != 0)
    return errno == EPERM ? kNoNamespace : Failed("unshare");
  // Keep the mount from propagating back to the system's namespace.
  if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
    return Failed("making the mounts private");
  const std::string options = "size=" + std::to_string(sizeKiB) + "k";
  if (mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0)
    return Failed("mounting a tmpfs");
  return {};
}

std::string FillFileSystem(const std::filesystem::path& folder) {
  const std::string name = (folder / "filler").string();
  const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0)
    return Failed("creating the filler");
  const std::vector<char> block(4096, 'f');
  // Whole blocks first, then single bytes for the last partial block.
  for (std::size_t size : {block.size(), std::size_t(1)}) {
    while (write(fd, block.data(), size) == ssize_t(size)) {
    }
  }
  const int error = errno;
  close(fd);
  if (error != ENOSPC) {
    errno = error;
    return Failed("filling the file system");
  }
  return {};
}

}  // namespace kelpra::test

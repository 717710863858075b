// kelpra-make-sample-book run as a program: the book it writes is one anybody can open.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>

extern char** environ;

namespace {

namespace fs = std::filesystem;

int RunMakeSampleBook(const fs::path& folder) {
#ifndef KELPRA_MAKE_SAMPLE_BOOK_PATH
  ADD_FAILURE() << "built without the path of kelpra-make-sample-book";
  return -1;
#else
  std::string program = KELPRA_MAKE_SAMPLE_BOOK_PATH;
  std::string out = folder.string();
  char* argv[] = {program.data(), out.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0)
    return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
    return -1;
  return WEXITSTATUS(status);
#endif
}

// Restores the process's umask when the test ends.
class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t mask) : old_(umask(mask)) {}
  ~ScopedUmask() { umask(old_); }
  ScopedUmask(const ScopedUmask&) = delete;
  ScopedUmask& operator=(const ScopedUmask&) = delete;

 private:
  mode_t old_;
};

// A GIF writer that made its files for the owner alone left the book's GIF pages unreadable to
// everyone else (a shared book, a package's files).
TEST(SampleBookTest, EveryPageIsReadableByEveryoneUnderTheUsualUmask) {
  const fs::path folder = fs::path(testing::TempDir()) / "sample_book_modes";
  fs::remove_all(folder);
  {
    const ScopedUmask usual(022);
    ASSERT_EQ(RunMakeSampleBook(folder), 0);
  }
  int pages = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    ++pages;
    const fs::perms mode = entry.status().permissions();
    EXPECT_EQ(mode, fs::perms(0644))
        << entry.path().filename() << " has mode " << std::oct << static_cast<unsigned>(mode);
  }
  EXPECT_EQ(pages, 12);
  fs::remove_all(folder);
}

}  // namespace

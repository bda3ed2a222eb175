// FileLock against a second real process: it waits, says so once, and gets
// the lock when the first holder lets go.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "file_lock.h"

namespace {

std::string scratch_dir() {
  char name[] = "/tmp/file_lock_test.XXXXXX";
  const char* made = ::mkdtemp(name);
  EXPECT_NE(made, nullptr);
  return made ? made : "";
}

// Reads one byte from fd within timeout_ms; 0 when nothing came.
char read_byte(int fd, int timeout_ms) {
  pollfd wait_for{fd, POLLIN, 0};
  if (::poll(&wait_for, 1, timeout_ms) <= 0) return 0;
  char byte = 0;
  return ::read(fd, &byte, 1) == 1 ? byte : 0;
}

enum class Target { File, Directory, DirectoryDescriptor };

class FileLockTwoProcesses : public ::testing::TestWithParam<Target> {};

TEST_P(FileLockTwoProcesses, SecondWaitsSaysSoOnceThenGetsTheLock) {
  const std::string dir = scratch_dir();
  const std::string path = GetParam() == Target::File ? dir + "/STAR.obs" : dir;
  auto lock_it = [&](const velko::FileLock::WaitNotice& notice) {
    if (GetParam() != Target::DirectoryDescriptor) return velko::FileLock::lock_path(path, true, notice);
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY);
    velko::FileLock lock = velko::FileLock::lock_descriptor(fd, path, notice);
    ::close(fd);  // the lock does not depend on the caller's descriptor
    return lock;
  };

  velko::FileLock first = lock_it({});
  ASSERT_TRUE(first.held()) << first.error();
  EXPECT_FALSE(first.waited());

  int to_parent[2];
  ASSERT_EQ(::pipe(to_parent), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // A forked child shares this process's open files, the lock among them;
    // the programs start others through exec with close-on-exec descriptors.
    for (int fd = 3; fd < 1024; ++fd)
      if (fd != to_parent[1]) ::close(fd);
    int notices = 0;
    velko::FileLock second = lock_it([&](const std::string& waited_for) {
      ++notices;
      const char byte = waited_for == path ? 'w' : '?';
      (void)!::write(to_parent[1], &byte, 1);
    });
    const char got = second.held() && second.waited() && notices == 1 ? 'g' : 'x';
    (void)!::write(to_parent[1], &got, 1);
    ::_exit(0);
  }
  ::close(to_parent[1]);
  EXPECT_EQ(read_byte(to_parent[0], 5000), 'w');
  // Still held by this process: the child must not get it.
  EXPECT_EQ(read_byte(to_parent[0], 300), 0);
  first.release();
  EXPECT_EQ(read_byte(to_parent[0], 5000), 'g');
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(to_parent[0]);
  std::system(("rm -rf " + dir).c_str());
}

INSTANTIATE_TEST_SUITE_P(Targets, FileLockTwoProcesses,
                         ::testing::Values(Target::File, Target::Directory, Target::DirectoryDescriptor));

TEST(FileLock, AMissingPathWithoutCreateHoldsNothingAndSaysWhy) {
  const velko::FileLock lock = velko::FileLock::lock_path("/nonexistent-dir/x", false);
  EXPECT_FALSE(lock.held());
  EXPECT_EQ(lock.error(), ENOENT);
}

TEST(FileLock, ALockEndsWithItsObjectOrItsMove) {
  const std::string dir = scratch_dir();
  const std::string path = dir + "/lock";
  {
    velko::FileLock moved;
    {
      velko::FileLock lock = velko::FileLock::lock_path(path, true);
      ASSERT_TRUE(lock.held());
      moved = std::move(lock);
      EXPECT_FALSE(lock.held());
    }
    EXPECT_TRUE(moved.held());
    // Another open file description cannot take it while `moved` lives.
    const int other = ::open(path.c_str(), O_RDONLY);
    EXPECT_NE(::flock(other, LOCK_EX | LOCK_NB), 0);
    ::close(other);
  }
  const int other = ::open(path.c_str(), O_RDONLY);
  EXPECT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
  ::close(other);
  std::system(("rm -rf " + dir).c_str());
}

}  // namespace

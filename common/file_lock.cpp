// Exclusive flock locks on a path or an open descriptor, waiting with notice.
#include "file_lock.h"

#include <cerrno>
#include <string>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace velko {

FileLock FileLock::take(int fd, const std::string& path, const WaitNotice& on_wait) {
  FileLock lock;
  // First without waiting, so that a wait is noticed and told once.
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) {
      lock.error_ = errno;
      ::close(fd);
      return lock;
    }
    lock.waited_ = true;
    if (on_wait) on_wait(path);
    while (::flock(fd, LOCK_EX) != 0) {
      if (errno == EINTR) continue;
      lock.error_ = errno;
      ::close(fd);
      return lock;
    }
    break;
  }
  lock.fd_ = fd;
  return lock;
}

FileLock FileLock::lock_path(std::string_view path, bool create, const WaitNotice& on_wait) {
  const std::string name(path);
  int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0 && errno == ENOENT && create)
    fd = ::open(name.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
  if (fd < 0) {
    FileLock none;
    none.error_ = errno;
    return none;
  }
  return take(fd, name, on_wait);
}

FileLock FileLock::lock_descriptor(int fd, std::string_view path_for_notice, const WaitNotice& on_wait) {
  // A duplicate shares the open file description, and with it the lock: the
  // lock lasts until both are closed, so it is taken on a fresh open of the
  // same file where the caller's descriptor could be closed first. /proc gives
  // that open without needing the path to still name the same file.
  const std::string proc = "/proc/self/fd/" + std::to_string(fd);
  int own = ::open(proc.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (own < 0) own = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
  if (own < 0) {
    FileLock none;
    none.error_ = errno;
    return none;
  }
  return take(own, std::string(path_for_notice), on_wait);
}

FileLock::FileLock(FileLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), error_(other.error_), waited_(other.waited_) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    release();
    fd_ = std::exchange(other.fd_, -1);
    error_ = other.error_;
    waited_ = other.waited_;
  }
  return *this;
}

FileLock::~FileLock() { release(); }

void FileLock::release() noexcept {
  if (fd_ >= 0) {
    ::close(fd_);  // closing the last descriptor of the open file releases the lock
    fd_ = -1;
  }
}

}  // namespace velko

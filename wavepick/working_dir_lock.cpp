#include "working_dir_lock.h"

#include <cerrno>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "diagnostics.h"

namespace wavepick {
namespace {

int flock_retrying(int fd, int operation) {
  int result = 0;
  do {
    result = ::flock(fd, operation);
  } while (result != 0 && errno == EINTR);
  return result;
}

void tell_unlocked(const char* what) {
  tell(std::string("cannot lock the working directory (") + what + ": " +
       std::strerror(errno) + "); a second run here at the same time would mix its files");
}

}  // namespace

void lock_working_directory() {
  // Deliberately not close-on-exec: the programs started later share the lock.
  // The descriptor stays open until the process ends, which releases it.
  const int fd = ::open(".", O_RDONLY | O_DIRECTORY);
  if (fd < 0) {
    tell_unlocked("open");
    return;
  }
  if (flock_retrying(fd, LOCK_EX | LOCK_NB) == 0) return;
  if (errno != EWOULDBLOCK) {
    tell_unlocked("flock");
    ::close(fd);
    return;
  }
  tell("another wavepick run is working in this directory; waiting for it to end");
  if (flock_retrying(fd, LOCK_EX) != 0) {
    tell_unlocked("flock");
    ::close(fd);
  }
}

}  // namespace wavepick

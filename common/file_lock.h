// Advisory whole-file locks (flock) that keep two runs from updating the same
// files at once.
//
// A FileLock holds an exclusive lock on one open file or directory for its
// lifetime; the lock is released when the object is destroyed (or release()
// is called) and by the kernel when the process ends in any way. Locking waits
// for a lock another process holds; before it waits it calls the on_wait
// callback once, so that the program can say on standard error that it waits
// and for what. Locks are advisory: they order runs of programs that take the
// same lock, nothing else.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace velko {

class FileLock {
 public:
  // Called once, before the first wait, with the path being locked.
  using WaitNotice = std::function<void(const std::string& path)>;

  // Locks an existing file or directory (opened read-only, so a directory or
  // a file the user may only read can be locked too). When the path does not
  // exist and create is set, an empty file is created with mode 0666 less the
  // umask. Returns a lock that holds nothing (held() false, error() the errno)
  // when the path cannot be opened or locked.
  static FileLock lock_path(std::string_view path, bool create = false,
                            const WaitNotice& on_wait = {});

  // Locks an open file or directory. The descriptor is duplicated: the caller
  // keeps and closes its own.
  static FileLock lock_descriptor(int fd, std::string_view path_for_notice,
                                  const WaitNotice& on_wait = {});

  FileLock() = default;
  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock();

  bool held() const { return fd_ >= 0; }
  // The errno of a lock that could not be taken; 0 when held.
  int error() const { return error_; }
  // True when another process held the lock and this one waited for it.
  bool waited() const { return waited_; }

  void release() noexcept;

 private:
  static FileLock take(int fd, const std::string& path, const WaitNotice& on_wait);

  int fd_ = -1;
  int error_ = 0;
  bool waited_ = false;
};

}  // namespace velko

// Writing record files through a temporary file that replaces the old one.
#include "record_writer.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "file_naming.h"
#include "formatted_io.h"
#include "io_outcome.h"
#include "list_write.h"

namespace velko {
namespace {

constexpr std::size_t kFlushThreshold = 1 << 16;



// Writes all bytes; returns 0 or the errno of the failure.
int write_all(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t done = ::write(fd, data, size);
    if (done < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += done;
    size -= static_cast<std::size_t>(done);
  }
  return 0;
}

}  // namespace

RecordWriter::RecordWriter(std::string_view name, int unit, Mode mode)
    : name_(file_name_of(name)), unit_(unit) {
  // A name that cannot be a file (empty, or a directory) fails like an open.
  struct stat old {};
  const bool old_exists = ::stat(name_.c_str(), &old) == 0;
  if (name_.empty() || (old_exists && S_ISDIR(old.st_mode))) io_fatal(IoError::OpenFailure, unit_, name_);

  // The temporary file lies beside the target, so that rename() replaces the
  // target in one step on the same file system.
  temp_path_ = name_ + ".XXXXXX";
  // A terminating signal is delivered when a system call returns: on the one
  // that created the temporary file it would find the file not yet registered
  // and leave it behind. Those signals wait until it is registered.
  sigset_t terminating, previous;
  sigemptyset(&terminating);
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&terminating, signal_number);
  ::sigprocmask(SIG_BLOCK, &terminating, &previous);
  fd_ = ::mkstemp(temp_path_.data());
  const int create_error = errno;
  if (fd_ >= 0) register_pending_output(temp_path_);
  ::sigprocmask(SIG_SETMASK, &previous, nullptr);
  if (fd_ < 0) io_fatal(open_error_of(create_error), unit_, name_);
  ::fcntl(fd_, F_SETFD, FD_CLOEXEC);
  // The new file keeps the old file's permission bits; a new file gets the
  // usual ones (0666 less the umask).
  mode_t permissions = 0;
  if (old_exists) {
    permissions = old.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    permissions = 0666 & ~mask;
  }
  ::fchmod(fd_, permissions);

  if (mode == Mode::Append && old_exists) {
    // Appending copies the old records first, so that the old file stays as it
    // was until the complete new one replaces it.
    const int in = ::open(name_.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
      const int err = errno;
      ::close(fd_);
      ::unlink(temp_path_.c_str());
      unregister_pending_output(temp_path_);
      fd_ = -1;
      io_fatal(open_error_of(err), unit_, name_);
    }
    char chunk[1 << 16];
    char last = '\n';
    for (;;) {
      const ssize_t got = ::read(in, chunk, sizeof chunk);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        ::close(in);
        fail_write(errno);
      }
      if (got == 0) break;
      last = chunk[got - 1];
      buffer_.append(chunk, static_cast<std::size_t>(got));
      if (buffer_.size() >= kFlushThreshold) flush_buffer();
    }
    ::close(in);
    if (last != '\n') buffer_ += '\n';  // a last record without its line end gets one
  }
}

RecordWriter::~RecordWriter() {
  if (!closed_ && !temp_path_.empty()) {
    if (fd_ >= 0) ::close(fd_);
    ::unlink(temp_path_.c_str());
    unregister_pending_output(temp_path_);
  }
}

void RecordWriter::fail_write(int err) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  closed_ = true;
  ::unlink(temp_path_.c_str());
  unregister_pending_output(temp_path_);
  std::fflush(stdout);
  std::fprintf(stderr, "%s: %s\n", name_.c_str(), std::strerror(err));
  io_fatal(IoError::WriteFailure, unit_, name_);
}

void RecordWriter::flush_buffer() {
  if (buffer_.empty()) return;
  if (const int err = write_all(fd_, buffer_.data(), buffer_.size())) fail_write(err);
  buffer_.clear();
}

void RecordWriter::write_record(std::string_view record) {
  if (synced_ || closed_) throw std::logic_error("record written after sync: " + name_);
  buffer_ += record;
  buffer_ += '\n';
  ++records_;
  if (buffer_.size() >= kFlushThreshold) flush_buffer();
}

void RecordWriter::write_formatted(const Layout& layout, std::span<const OutValue> values) {
  for (const std::string& record : format_records(layout, values)) write_record(record);
}

void RecordWriter::write_list(std::span<const OutValue> values) { write_record(list_record(values)); }

void RecordWriter::sync() {
  if (closed_ || synced_) return;
  flush_buffer();
  if (::fsync(fd_) != 0) fail_write(errno);
  if (::close(fd_) != 0) {
    fd_ = -1;
    fail_write(errno);
  }
  fd_ = -1;
  synced_ = true;
}

void RecordWriter::close() {
  if (closed_) return;
  sync();
  if (::rename(temp_path_.c_str(), name_.c_str()) != 0) fail_write(errno);
  unregister_pending_output(temp_path_);
  closed_ = true;
}

}  // namespace velko

// Writing record files: through a temporary file that takes the target's
// place, copied into it, or straight into a device or FIFO.
#include "record_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "file_naming.h"
#include "formatted_io.h"
#include "list_write.h"
#include "program_end.h"
#include "report.h"

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

// Copies the whole of file `from` over the start of `to` and cuts `to` to the
// same length; returns 0 or the errno of the failure.
int copy_into(const std::string& from, int to) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return errno;
  char chunk[1 << 16];
  off_t total = 0;
  int err = 0;
  for (;;) {
    const ssize_t got = ::read(in, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      err = errno;
      break;
    }
    if (got == 0) break;
    if ((err = write_all(to, chunk, static_cast<std::size_t>(got))) != 0) break;
    total += got;
  }
  ::close(in);
  if (err == 0 && ::ftruncate(to, total) != 0) err = errno;
  if (err == 0 && ::fsync(to) != 0) err = errno;
  return err;
}

// Syncs a directory, so that a rename in it survives a power cut. File systems
// that cannot sync a directory have nothing to lose there.
void sync_directory(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// A step of putting one file in place, and how to take it back.
struct PlacedFile {
  std::string temp;     // the temporary name
  std::string target;
  std::string backup;   // the old file's second name, when kept by a link
  bool exchanged = false;
  bool created = false;  // the target did not exist before
};

// Puts temp in place of target; returns 0 or the errno of the failure. The
// old file stays reachable (under temp after an exchange, or under a backup
// link) until the step is finished or undone.
int put_in_place(PlacedFile& step, bool target_exists) {
  if (!target_exists) {
    if (::renameat2(AT_FDCWD, step.temp.c_str(), AT_FDCWD, step.target.c_str(), RENAME_NOREPLACE) == 0) {
      step.created = true;
      return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) return errno;
    if (::rename(step.temp.c_str(), step.target.c_str()) != 0) return errno;
    step.created = true;
    return 0;
  }
  if (::renameat2(AT_FDCWD, step.temp.c_str(), AT_FDCWD, step.target.c_str(), RENAME_EXCHANGE) == 0) {
    step.exchanged = true;
    return 0;
  }
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // No exchange on this file system: keep the old file under a second name
  // (a hard link), so that the rename can be taken back.
  bool links_refused = false;
  for (int attempt = 0; attempt < 100 && step.backup.empty() && !links_refused; ++attempt) {
    const std::string name = step.temp + ".old" + std::to_string(attempt);
    if (::link(step.target.c_str(), name.c_str()) == 0) step.backup = name;
    else if (errno != EEXIST) links_refused = true;
  }
  if (step.backup.empty()) {
    // Nor hard links (vfat, exfat, some network file systems): the old file
    // is moved aside under a free name, and moved back if the new one cannot
    // take its place, so that the step can still be taken back.
    for (int attempt = 0; attempt < 100 && step.backup.empty(); ++attempt) {
      const std::string name = step.temp + ".old" + std::to_string(attempt);
      struct ::stat taken {};
      if (::lstat(name.c_str(), &taken) == 0) continue;
      if (::rename(step.target.c_str(), name.c_str()) != 0) return errno;
      step.backup = name;
    }
    if (step.backup.empty()) return EEXIST;
    if (::rename(step.temp.c_str(), step.target.c_str()) != 0) {
      const int err = errno;
      ::rename(step.backup.c_str(), step.target.c_str());
      step.backup.clear();
      return err;
    }
    register_pending_output(step.backup);
    return 0;
  }
  register_pending_output(step.backup);
  if (::rename(step.temp.c_str(), step.target.c_str()) != 0) {
    const int err = errno;
    ::unlink(step.backup.c_str());
    unregister_pending_output(step.backup);
    step.backup.clear();
    return err;
  }
  return 0;
}

// Takes a step back: the old file returns to its name.
void undo(PlacedFile& step) noexcept {
  if (step.exchanged) {
    ::renameat2(AT_FDCWD, step.temp.c_str(), AT_FDCWD, step.target.c_str(), RENAME_EXCHANGE);
  } else if (step.created) {
    ::rename(step.target.c_str(), step.temp.c_str());
  } else if (!step.backup.empty()) {
    ::rename(step.backup.c_str(), step.target.c_str());
    unregister_pending_output(step.backup);
  }
}

// Ends a step: the old file's remaining name goes.
void finish(const PlacedFile& step) noexcept {
  if (step.exchanged) ::unlink(step.temp.c_str());
  if (!step.backup.empty()) {
    ::unlink(step.backup.c_str());
    unregister_pending_output(step.backup);
  }
}

IoError placement_error_of(int err) {
  return open_error_of(err) == IoError::PermissionDenied ? IoError::PermissionDenied
                                                         : IoError::WriteFailure;
}

}  // namespace

RecordWriter::RecordWriter(std::string_view name, int unit, Mode mode)
    : name_(file_name_of(name)), unit_(unit) {
  if (name_.empty()) io_fatal(IoError::OpenFailure, unit_, name_);

  struct ::stat old {};
  target_exists_ = ::stat(name_.c_str(), &old) == 0;
  if (target_exists_ && S_ISDIR(old.st_mode))
    io_fatal(IoError::OpenFailure, unit_, name_, {}, {0, kind_of_non_regular(old.st_mode)});

  // A name for one of this process's own descriptors (/dev/stdout): the
  // records go to that descriptor, after what was written to it before, as
  // records written to the stream itself would, whatever it leads to.
  if (const int own = own_descriptor_named(name_); own >= 0 && ::fcntl(own, F_GETFD) >= 0) {
    target_ = name_;
    placement_ = Placement::Direct;
    to_own_stream_ = true;
    fd_ = ::fcntl(own, F_DUPFD_CLOEXEC, 0);
    if (fd_ < 0) {
      const int err = errno;
      io_fatal(open_error_of(err), unit_, name_, {}, {err, {}});
    }
    return;
  }
  if (target_exists_ && !S_ISREG(old.st_mode)) {
    // A device or FIFO (also behind a link such as /dev/stdout): written in
    // place, like any program writing to it.
    target_ = name_;
    placement_ = Placement::Direct;
    const int flags = O_WRONLY | O_CLOEXEC | O_NOCTTY | (mode == Mode::Append ? O_APPEND : 0);
    fd_ = ::open(name_.c_str(), flags);
    if (fd_ < 0) {
      const int err = errno;
      io_fatal(open_error_of(err), unit_, name_, {}, {err, {}});
    }
    return;
  }

  // The file meant: a symbolic link is followed, so that the new content
  // replaces the file it leads to and the link stays a link.
  target_ = resolved_target(name_);
  if (target_exists_) {
    struct ::stat resolved {};
    if (::stat(target_.c_str(), &resolved) != 0 || resolved.st_dev != old.st_dev ||
        resolved.st_ino != old.st_ino) {
      // A link that is no path (a /proc link to an open file): the file is
      // reached through the name alone and written in place.
      target_ = name_;
      placement_ = Placement::CopyInPlace;
    }
  }

  // An existing file that the user may not write is refused before anything
  // is written, as writing it in place would be.
  if (target_exists_ && ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) {
    const int err = errno;
    io_fatal(open_error_of(err), unit_, name_, {}, {err, {}});
  }

  // The temporary file lies beside the target, so that it takes the target's
  // place in one step on the same file system.
  temp_path_ = target_ + ".XXXXXX";
  {
    // Made and registered in one step, so that a signal cannot leave it behind.
    const EndingSignalsHeld held;
    fd_ = ::mkostemp(temp_path_.data(), O_CLOEXEC);
    if (fd_ >= 0) register_pending_output(temp_path_);
  }
  if (fd_ < 0) {
    const int err = errno;
    temp_path_.clear();
    const std::string dir = directory_of(target_);
    const std::string what = "cannot create a temporary file in " + (dir == "." ? "the current directory" : dir);
    io_fatal(open_error_of(err), unit_, name_, {}, {err, what});
  }

  if (target_exists_) {
    if (placement_ == Placement::Exchange) keep_attributes_of(old);
  } else {
    // A new file gets the usual permission bits (0666 less the umask).
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
  }
  if (mode == Mode::Append && target_exists_) copy_old_records();
}

// The replacement takes the old file's owner, group, mode and extended
// attributes; where one of them cannot be given to it, or the old file has
// other hard links, the new content is copied into the old file instead.
void RecordWriter::keep_attributes_of(const struct ::stat& old) {
  if (old.st_nlink > 1) {
    placement_ = Placement::CopyInPlace;
    return;
  }
  if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
      ::fchown(fd_, old.st_uid, old.st_gid) != 0) {
    placement_ = Placement::CopyInPlace;
    return;
  }
  ::fchmod(fd_, old.st_mode & 07777);  // after the owner: a change of owner clears set-id bits
  const ssize_t list_size = ::listxattr(target_.c_str(), nullptr, 0);
  if (list_size <= 0) return;  // none, or a file system without them
  std::vector<char> names(static_cast<std::size_t>(list_size));
  const ssize_t got = ::listxattr(target_.c_str(), names.data(), names.size());
  if (got < 0) {
    placement_ = Placement::CopyInPlace;
    return;
  }
  for (std::size_t at = 0; at < static_cast<std::size_t>(got); at += std::strlen(names.data() + at) + 1) {
    const char* attribute = names.data() + at;
    const ssize_t size = ::getxattr(target_.c_str(), attribute, nullptr, 0);
    std::vector<char> value(static_cast<std::size_t>(size > 0 ? size : 0));
    const ssize_t read = size > 0 ? ::getxattr(target_.c_str(), attribute, value.data(), value.size()) : size;
    if (read < 0 || ::fsetxattr(fd_, attribute, value.data(), static_cast<std::size_t>(read), 0) != 0) {
      placement_ = Placement::CopyInPlace;
      return;
    }
  }
}

// Appending copies the old records first, so that the old file stays as it
// was until the complete new one replaces it.
void RecordWriter::copy_old_records() {
  const int in = ::open(target_.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) {
    const int err = errno;
    drop_temporary();
    io_fatal(open_error_of(err), unit_, name_, {}, {err, {}});
  }
  char chunk[1 << 16];
  char last = '\n';
  for (;;) {
    const ssize_t got = ::read(in, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int err = errno;
      ::close(in);
      fail_write(err);
    }
    if (got == 0) break;
    last = chunk[got - 1];
    buffer_.append(chunk, static_cast<std::size_t>(got));
    if (buffer_.size() >= kFlushThreshold) flush_buffer();
  }
  ::close(in);
  if (last != '\n') buffer_ += '\n';  // a last record without its line end gets one
}

RecordWriter::~RecordWriter() {
  if (!closed_) drop_temporary();
}

void RecordWriter::drop_temporary() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (temp_path_.empty()) return;
  ::unlink(temp_path_.c_str());
  unregister_pending_output(temp_path_);
  temp_path_.clear();
}

void RecordWriter::fail_write(int err) {
  drop_temporary();
  closed_ = true;
  io_fatal(IoError::WriteFailure, unit_, name_, {}, FailureReason{err, {}});
}

void RecordWriter::flush_buffer() {
  if (buffer_.empty()) return;
  // What the program wrote to its own streams comes first.
  if (to_own_stream_) std::fflush(nullptr);
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
  // A device or FIFO has nothing to sync to disk.
  if (placement_ != Placement::Direct && ::fsync(fd_) != 0) fail_write(errno);
  const int closed = ::close(fd_);
  fd_ = -1;
  if (closed != 0) fail_write(errno);
  synced_ = true;
}

void RecordWriter::close() {
  RecordWriter* self = this;
  commit_together(std::span<RecordWriter* const>(&self, 1));
}

void commit_together(std::span<RecordWriter* const> writers) {
  for (RecordWriter* writer : writers) writer->sync();

  std::vector<PlacedFile> placed;
  placed.reserve(writers.size());
  // A failure puts back what was done and ends with the report, which says
  // that every file is as it was.
  std::string untouched;
  for (RecordWriter* writer : writers) {
    if (!untouched.empty()) untouched += writers.size() > 2 ? ", " : " and ";
    untouched += writer->name_;
  }
  untouched = "nothing was changed: " + untouched + (writers.size() > 1 ? " are" : " is") +
              " as before";
  const std::string incomplete = " may be incomplete; any other file is as before";
  const auto fail = [&](RecordWriter& writer, int err, bool copy_begun = false) {
    for (auto step = placed.rbegin(); step != placed.rend(); ++step) undo(*step);
    writer.drop_temporary();
    writer.closed_ = true;
    const std::string note = copy_begun ? writer.name_ + incomplete
                             : writers.size() > 1 ? untouched : std::string();
    io_fatal(placement_error_of(err), writer.unit_, writer.name_, {}, FailureReason{err, {}, note});
  };

  const EndingSignalsHeld held;  // all of it, or none of it
  for (RecordWriter* writer : writers) {
    if (writer->closed_ || writer->placement_ != RecordWriter::Placement::Exchange) continue;
    PlacedFile step{writer->temp_path_, writer->target_, {}, false, false};
    if (const int err = put_in_place(step, writer->target_exists_)) fail(*writer, err);
    placed.push_back(step);
  }
  // Copies into old files come last: they cannot be taken back once begun.
  for (RecordWriter* writer : writers) {
    if (writer->closed_ || writer->placement_ != RecordWriter::Placement::CopyInPlace) continue;
    const int to = ::open(writer->target_.c_str(), O_WRONLY | O_CLOEXEC);
    if (to < 0) fail(*writer, errno);
    int err = copy_into(writer->temp_path_, to);
    if (::close(to) != 0 && err == 0) err = errno;
    if (err != 0) fail(*writer, err, true);
  }
  for (const PlacedFile& step : placed) finish(step);
  std::vector<std::string> directories;
  for (RecordWriter* writer : writers) {
    if (writer->closed_) continue;
    if (writer->placement_ == RecordWriter::Placement::Exchange)
      directories.push_back(directory_of(writer->target_));
    if (writer->placement_ == RecordWriter::Placement::CopyInPlace) ::unlink(writer->temp_path_.c_str());
    if (!writer->temp_path_.empty()) unregister_pending_output(writer->temp_path_);
    writer->temp_path_.clear();
    writer->closed_ = true;
  }
  std::sort(directories.begin(), directories.end());
  directories.erase(std::unique(directories.begin(), directories.end()), directories.end());
  for (const std::string& dir : directories) sync_directory(dir);
}

}  // namespace velko

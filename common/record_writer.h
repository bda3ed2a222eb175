// Writing record files: each record ends with a line feed.
//
// Where the named file is a symbolic link, the file it leads to (through every
// link) is the one written; the link stays a link.
//
// A regular file is never half-written: records go to a temporary file beside
// the target, which takes the target's place only when it has been written,
// flushed and synced in full. Until then the old file is untouched, and if the
// program ends first (a report, a stop, a signal) the temporary file is
// removed. The replacement keeps the old file's mode, owner, group and
// extended attributes (ACLs among them). Where it cannot keep them (the
// process may not give the file its owner, or an attribute cannot be set) or
// the file has several hard links, the complete and synced new content is
// copied into the old file in place instead, so that the file stays the same
// file; a run ended during that copy can leave it incomplete.
//
// A target that exists and is not a regular file (a device, a FIFO) is
// written in place, directly: from its start, or at its end when appending.
// A name for one of the process's own descriptors (/dev/stdout, /dev/fd/N)
// is written through that descriptor, after what was written to it before.
//
// An existing target that the user may not write is refused before anything
// is written, as writing it in place would be. Replace writes the file from
// its start; Append writes the old records followed by the new ones.
//
// A failure to create or write ends the program with the record layer's
// report (open failure, permission denied, or error during write), with the
// system's reason as a further line.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include <sys/stat.h>

#include "layout.h"
#include "values.h"

namespace velko {

class RecordWriter {
 public:
  enum class Mode { Replace, Append };

  // Trailing blanks of the name are dropped.
  RecordWriter(std::string_view name, int unit, Mode mode = Mode::Replace);
  RecordWriter(const RecordWriter&) = delete;
  RecordWriter& operator=(const RecordWriter&) = delete;
  // A writer destroyed without close() discards what it wrote (a device or
  // FIFO has been written already).
  ~RecordWriter();

  void write_record(std::string_view record);
  void write_formatted(const Layout& layout, std::span<const OutValue> values);
  void write_formatted(const Layout& layout, std::initializer_list<OutValue> values) {
    write_formatted(layout, std::span<const OutValue>(values.begin(), values.size()));
  }
  void write_list(std::span<const OutValue> values);
  void write_list(std::initializer_list<OutValue> values) {
    write_list(std::span<const OutValue>(values.begin(), values.size()));
  }

  // Writes out and syncs everything written so far and closes the temporary
  // file, without putting it in place yet. A failure (a full disk) ends the
  // program with the old file as it was. No record may be written after it.
  void sync();

  // Syncs (when not done yet) and puts the new file in place of the old one.
  void close();

  const std::string& name() const { return name_; }
  // The file written: the name with every symbolic link followed.
  const std::string& target() const { return target_; }
  long records_written() const { return records_; }

 private:
  // How the new content reaches the target.
  enum class Placement {
    Exchange,     // the temporary file is swapped with the target (or renamed to it)
    CopyInPlace,  // the synced temporary file is copied into the target
    Direct,       // no temporary file: records go straight to the target
  };

  void keep_attributes_of(const struct ::stat& old);
  void copy_old_records();
  void flush_buffer();
  [[noreturn]] void fail_write(int err);
  void drop_temporary() noexcept;

  friend void commit_together(std::span<RecordWriter* const> writers);

  std::string name_;
  std::string target_;
  std::string temp_path_;
  int unit_;
  Placement placement_ = Placement::Exchange;
  bool target_exists_ = false;
  bool to_own_stream_ = false;  // writes through a descriptor of the process's own
  int fd_ = -1;
  std::string buffer_;
  long records_ = 0;
  bool synced_ = false;
  bool closed_ = false;
};

// Puts the files of several writers in place together: each is synced first,
// then all are put in place; when one cannot be, those already in place are
// put back, so that a failure leaves every old file as it was, and the report
// says so. A run ended by a signal meanwhile ends before or after the whole
// step, never in its middle.
void commit_together(std::span<RecordWriter* const> writers);
inline void commit_together(std::initializer_list<RecordWriter*> writers) {
  commit_together(std::span<RecordWriter* const>(writers.begin(), writers.size()));
}

}  // namespace velko

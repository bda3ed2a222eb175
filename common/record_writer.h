// Writing record files: each record ends with a line feed.
//
// A file is never half-written: records go to a temporary file in the same
// directory, which replaces the named file only when close() has written,
// flushed and synced it. Until then the old file is untouched, and if the
// program ends first (a report, a stop, a signal) the temporary file is
// removed. Replace writes the file from its start (the old records are
// replaced); Append writes the old records followed by the new ones. The
// replaced file keeps the old file's permission bits.
//
// A failure to create or write ends the program with the record layer's
// report: open failure, permission denied, or error during write.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

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
  // A writer destroyed without close() discards what it wrote.
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
  // file, without putting it in place yet. A program that replaces several
  // files together syncs them all first and then closes them, so that a write
  // failure (a full disk) of any of them leaves every old file as it was. No
  // record may be written after it.
  void sync();

  // Syncs (when not done yet) and puts the new file in place of the old one.
  void close();

  const std::string& name() const { return name_; }
  long records_written() const { return records_; }

 private:
  void flush_buffer();
  [[noreturn]] void fail_write(int err);

  std::string name_;
  std::string temp_path_;
  int unit_;
  int fd_ = -1;
  std::string buffer_;
  long records_ = 0;
  bool synced_ = false;
  bool closed_ = false;
};

}  // namespace velko

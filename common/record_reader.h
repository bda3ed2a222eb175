// Reading record files, and texts in memory read as files.
//
// A record ends at a line feed; a carriage return just before it is not part
// of the record; a last record without a line feed still counts. A record
// longer than 1 MiB is cut there; the rest up to its line end is skipped. A
// file that holds carriage returns but no line feed gets a warning on
// standard error. Opening for reading opens the file, or creates it empty
// when it does not exist (the suite's open-or-create rule); only a regular
// file is read: a directory, FIFO or device is refused with the open-failure
// report and a line saying what it is. Each read starts at the next record
// and consumes whole records.
//
// A read returns its outcome only when the caller handles it (Handled);
// otherwise it ends the program with the record layer's report, naming the
// unit, the file, the record number and the record.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "outcome.h"
#include "layout.h"
#include "values.h"

namespace velko {

// True if a file (or anything else) of that name exists. Trailing blanks of
// the name are not part of it.
bool file_exists(std::string_view name);

// Where a record text read earlier came from, for the report on a failure to
// decode it.
struct RecordOrigin {
  std::string_view file;
  int unit = 0;
  long record_number = 0;
};

class RecordReader {
 public:
  // Opens a file; trailing blanks of the name are dropped. A missing file is
  // created empty when create_if_missing is set (the suite's rule), otherwise it
  // simply reads as empty. A file that can be neither opened nor created ends
  // the program with the open-failure or permission report.
  static RecordReader open_file(std::string_view name, int unit, bool create_if_missing = true);

  // A text in memory read as a file of one record, or an array of texts as a
  // file of as many records.
  static RecordReader from_text(std::string_view text);
  // A record text read earlier from a file, read again as a file of one
  // record: a failure is reported as one of that file's record (its name,
  // unit and record number, and the text), not as a text in memory.
  static RecordReader from_text(std::string_view text, const RecordOrigin& origin);
  static RecordReader from_texts(std::span<const std::string> texts);

  RecordReader(RecordReader&&) noexcept;
  RecordReader& operator=(RecordReader&&) noexcept;
  RecordReader(const RecordReader&) = delete;
  RecordReader& operator=(const RecordReader&) = delete;
  ~RecordReader();

  // The next record as a text of n characters (cut or blank-padded): the A edit
  // with a text of length n.
  Outcome read_text(std::string& text, std::size_t n, Handled handled);

  // The next record as it stands. The view stays valid until the next read.
  Outcome read_record(std::string_view& record, Handled handled);

  Outcome read_formatted(const Layout& layout, std::span<const InTarget> targets,
                         Handled handled);
  Outcome read_formatted(const Layout& layout, std::initializer_list<InTarget> targets,
                         Handled handled) {
    return read_formatted(layout, std::span<const InTarget>(targets.begin(), targets.size()),
                          handled);
  }

  Outcome read_list(std::span<const InTarget> targets, Handled handled);
  Outcome read_list(std::initializer_list<InTarget> targets, Handled handled) {
    return read_list(std::span<const InTarget>(targets.begin(), targets.size()), handled);
  }

  // For a reader of many records that finds their ends itself (the line set):
  // the bytes from the start of the next record to the end of the bytes at
  // hand, not copied; empty for a text in memory and inside the tail of an
  // over-long record. Records the caller finds there, each ended by a line
  // feed and shorter than the record length limit, it takes with take_records
  // (bytes: up to and including the last line feed taken); everything else it
  // reads with read_record, which applies every rule. more_bytes brings more
  // of the file to hand and returns false when there is no more. The bytes
  // stay valid until the next read, take or more_bytes.
  std::string_view bytes_at_hand() const;
  void take_records(std::size_t bytes, long records);
  bool more_bytes();

  // Records consumed so far.
  long record_number() const { return record_number_; }
  // True when the file is read through a mapping (else through a buffer).
  bool is_mapped() const { return mapped_; }
  const std::string& name() const { return name_; }
  int unit() const { return unit_; }

  void close();

 private:
  RecordReader() = default;
  bool next_record(std::string_view& record);  // false at end of data
  bool fill();                                 // more bytes from the file
  void note_line_ends(const char* bytes, std::size_t size);
  void reach_end_of_data();                    // eof_, and the line-end warning
  bool map_next_window();                      // fill() of a mapped file
  void unmap_window();
  bool window_lost();  // the mapped file shrank under the window: a read failure
  [[noreturn]] void fail(IoError error, std::string_view record, bool at_end) const;
  Outcome finish(Outcome outcome, IoError error, std::string_view record, bool at_end,
                 Handled handled) const;

  friend class ReaderSupply;

  int fd_ = -1;
  int unit_ = kUnitInternal;
  bool internal_ = false;
  bool reported_as_origin_ = false;  // a text of a file: reports name the file
  std::string name_;
  std::vector<std::string> texts_;  // records of a text in memory
  std::size_t next_text_ = 0;
  // File bytes not yet consumed, at data_: either read into buffer_ (not
  // zero-filled: only bytes read are looked at), or, for a regular file, a
  // window of the file mapped into memory at file offset window_offset_, so
  // that the bytes are never copied and memory stays bounded whatever the
  // file's size.
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = 0;
  const char* data_ = nullptr;
  bool mapped_ = false;
  std::size_t window_offset_ = 0;
  std::size_t window_size_ = 0;     // bytes mapped at data_
  int window_slot_ = -1;            // where the bus-error handler finds the window
  std::size_t begin_ = 0;           // first unconsumed byte at data_
  std::size_t end_ = 0;             // end of valid bytes at data_
  bool eof_ = false;
  bool read_failed_ = false;        // the platform refused a read
  bool skipping_ = false;           // inside the tail of an over-long record
  // Records end at a line feed only: a file of carriage returns alone (old
  // Mac line ends) reads as one record, and the reader warns about it.
  bool saw_line_feed_ = false;
  bool saw_carriage_return_ = false;
  bool warned_line_ends_ = false;
  long record_number_ = 0;
};

// Free-format read of one text in memory ("Internal List-Directed Read").
Outcome read_list_text(std::string_view text, std::span<const InTarget> targets,
                       Handled handled);
inline Outcome read_list_text(std::string_view text, std::initializer_list<InTarget> targets,
                              Handled handled) {
  return read_list_text(text, std::span<const InTarget>(targets.begin(), targets.size()),
                        handled);
}

// Formatted read of one text in memory ("Internal Formatted Read").
Outcome read_formatted_text(std::string_view text, const Layout& layout,
                            std::span<const InTarget> targets, Handled handled);
inline Outcome read_formatted_text(std::string_view text, const Layout& layout,
                                   std::initializer_list<InTarget> targets, Handled handled) {
  return read_formatted_text(text, layout,
                             std::span<const InTarget>(targets.begin(), targets.size()), handled);
}

}  // namespace velko

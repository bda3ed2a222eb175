// The record layer's report: the one place where the text that ends a program
// on a failed open, read, decode or write is put together.
//
// The report is written on standard error:
//   Fatal error: <message>, unit <u>, file <name>
//   [  <what>: <system reason>]            when the system gave a reason
//   [  <what>]                             or a further word without one
//   [  <note>]                             what the failure left behind
//   [  at record <n>: "<record>"]          when a record is known
//   [  the data end after record <n>]      at end of data
// Then unfinished output files are removed, the terminal is restored and the
// program ends with kExitRecordFailure.
#pragma once

#include <string>
#include <string_view>

#include "outcome.h"

namespace velko {

// The message of one situation, e.g. "input conversion error".
std::string_view io_error_message(IoError error);

// The first report line: "Fatal error: <message>, unit <u>, file <name>".
std::string io_report_line(IoError error, int unit, std::string_view file);

// Where the failure was met. record_number counts from 1; 0 means no record
// (an open or a write before any record). With at_end set the record number is
// that of the last record read before the end.
struct RecordPlace {
  long record_number = 0;
  std::string_view record;
  bool at_end = false;
};

// Why the failure happened, as far as the system says: the errno of the
// failed call (0: none) and what was being done or which file it concerned
// (empty: the reported file). Either one gives a reason line. A note is a
// further line after it (what the failure left behind, what to do).
struct FailureReason {
  FailureReason() = default;
  FailureReason(int system_error_in, std::string_view what_in = {}, std::string_view note_in = {})
      : system_error(system_error_in), what(what_in), note(note_in) {}

  int system_error = 0;
  std::string_view what;
  std::string_view note;
};

// The reason line without its indent, e.g. "HD.obs: No space left on device";
// empty when the reason holds nothing.
std::string reason_text(const FailureReason& reason, std::string_view file);

// The whole report as written, every line ended by a line feed.
std::string io_report(IoError error, int unit, std::string_view file, const RecordPlace& place,
                      const FailureReason& reason);

// Writes the report, removes unfinished output files, restores the terminal,
// and exits with kExitRecordFailure.
[[noreturn]] void io_fatal(IoError error, int unit, std::string_view file,
                           const RecordPlace& place = {}, const FailureReason& reason = {});

// A warning: one line "Warning: <message>" on standard error for something the
// program passes over and goes on; the console records written so far are
// flushed first, so that it appears in its place among them.
void warn(std::string_view message);

}  // namespace velko

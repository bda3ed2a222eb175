// Outcomes of reads and writes, and how an outcome that the caller does not
// handle ends the program.
//
// Every read ends done, at end of file, or in error. The caller says which of
// these it handles (Handled); any other outcome ends the program with a
// one-line report on standard error ("Fatal error: <message>, unit U, file F"),
// a second line naming the record and showing it, and exit status
// kExitRecordFailure.
#pragma once

#include <string>
#include <string_view>

namespace velko {

enum class Outcome { Done, EndOfFile, Error };

// What the caller of a read handles. Errors includes end of file, as a read
// whose caller handles errors but gives no separate end-of-file branch takes
// its error path at end of file too.
enum class Handled { Nothing, EndOfFile, Errors };

// The situations of the record layer, each with its report text.
enum class IoError {
  EndOfFile,         // "end-of-file during read"
  Conversion,        // "input conversion error"
  ListSyntax,        // "list-directed I/O syntax error"
  OpenFailure,       // "open failure"
  PermissionDenied,  // "permission to access file denied"
  ReadFailure,       // "error during read"
  WriteFailure,      // "error during write"
};

// Exit statuses of both programs.
inline constexpr int kExitNormal = 0;         // normal end, or a stop the user chose
inline constexpr int kExitStopFailure = 1;    // a stop that reports a failure
inline constexpr int kExitRecordFailure = 2;  // ended by the record layer's report

// Unit numbers shown in reports. Texts in memory have no unit of their own.
inline constexpr int kUnitInternal = -1;
inline constexpr int kUnitConsoleIn = 5;
inline constexpr int kUnitConsoleOut = 6;

// Names under which texts in memory appear in reports.
inline constexpr std::string_view kInternalListRead = "Internal List-Directed Read";
inline constexpr std::string_view kInternalFormattedRead = "Internal Formatted Read";

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

// Writes the report (two lines on standard error, the second only when a record
// is known), removes unfinished output files, restores the terminal, and exits
// with kExitRecordFailure.
[[noreturn]] void io_fatal(IoError error, int unit, std::string_view file,
                           const RecordPlace& place = {});

// True when an outcome must be returned to a caller that handles `handled`.
bool outcome_is_handled(Outcome outcome, Handled handled);

// Ends the program: flushes standard output, removes unfinished output files,
// restores the terminal, and exits with the given status.
[[noreturn]] void stop_program(int status);

// Registry of output files still being written (temporary names), removed when
// the program ends before they are committed: by io_fatal, stop_program, or a
// terminating signal.
void register_pending_output(const std::string& temp_path);
void unregister_pending_output(const std::string& temp_path);
void remove_pending_outputs() noexcept;

// Called once at program start: installs handlers for SIGINT, SIGTERM, SIGHUP
// and SIGQUIT that remove unfinished output files and restore the terminal
// before the signal ends the process.
void install_termination_handlers();

// A hook run (async-signal-safe) on every exit path; the console uses it to
// restore the terminal's mode.
void set_terminal_restore_hook(void (*hook)() noexcept);

// Where a program ends. By default io_fatal and stop_program end the process
// with std::exit. A harness that runs a program's own code many times in one
// process (a fuzz target) installs a handler that throws instead, so that a
// report or a stop on bad input is an ordinary outcome there rather than the
// end of the harness. The handler is called with the exit status after the
// report is written and the cleanup is done; it must not return (if it does,
// the process exits as usual). nullptr restores the default.
using ProgramEndHandler = void (*)(int status);
void set_program_end_handler(ProgramEndHandler handler);

}  // namespace velko

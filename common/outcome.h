// Outcomes of reads and writes, the situations the record layer reports, the
// exit statuses and the unit numbers shown in reports.
//
// Every read ends done, at end of file, or in error. The caller says which of
// these it handles (Handled); any other outcome ends the program with the
// record layer's report (report.h) and exit status kExitRecordFailure.
#pragma once

#include <string_view>

namespace velko {

enum class Outcome { Done, EndOfFile, Error };

// What the caller of a read handles. Errors includes end of file, as a read
// whose caller handles errors but gives no separate end-of-file branch takes
// its error path at end of file too.
enum class Handled { Nothing, EndOfFile, Errors };

// True when an outcome must be returned to a caller that handles `handled`.
constexpr bool outcome_is_handled(Outcome outcome, Handled handled) {
  switch (outcome) {
    case Outcome::Done: return true;
    case Outcome::EndOfFile: return handled != Handled::Nothing;
    case Outcome::Error: return handled == Handled::Errors;
  }
  return false;
}

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

}  // namespace velko

// The record layer's report.
#include "report.h"

#include <cstdio>
#include <cstring>

#include "program_end.h"

namespace velko {

std::string_view io_error_message(IoError error) {
  switch (error) {
    case IoError::EndOfFile: return "end-of-file during read";
    case IoError::Conversion: return "input conversion error";
    case IoError::ListSyntax: return "list-directed I/O syntax error";
    case IoError::OpenFailure: return "open failure";
    case IoError::PermissionDenied: return "permission to access file denied";
    case IoError::ReadFailure: return "error during read";
    case IoError::WriteFailure: return "error during write";
  }
  return "unknown error";
}

std::string io_report_line(IoError error, int unit, std::string_view file) {
  std::string line = "Fatal error: ";
  line += io_error_message(error);
  line += ", unit ";
  line += std::to_string(unit);
  line += ", file ";
  line += file;
  return line;
}

std::string reason_text(const FailureReason& reason, std::string_view file) {
  if (reason.system_error == 0) return std::string(reason.what);
  std::string text(reason.what.empty() ? file : reason.what);
  text += ": ";
  text += std::strerror(reason.system_error);
  return text;
}

std::string io_report(IoError error, int unit, std::string_view file, const RecordPlace& place,
                      const FailureReason& reason) {
  std::string report = io_report_line(error, unit, file);
  report += '\n';
  if (const std::string why = reason_text(reason, file); !why.empty()) {
    report += "  ";
    report += why;
    report += '\n';
  }
  if (!reason.note.empty()) {
    report += "  ";
    report += reason.note;
    report += '\n';
  }
  if (place.at_end) {
    if (place.record_number == 0)
      report += "  the data hold no record at all\n";
    else
      report += "  the data end after record " + std::to_string(place.record_number) + "\n";
  } else if (place.record_number > 0) {
    report += "  at record " + std::to_string(place.record_number) + ": \"";
    report += place.record;
    report += "\"\n";
  }
  return report;
}

void io_fatal(IoError error, int unit, std::string_view file, const RecordPlace& place,
              const FailureReason& reason) {
  std::fflush(stdout);
  const std::string report = io_report(error, unit, file, place, reason);
  std::fputs(report.c_str(), stderr);
  std::fflush(stderr);
  end_program_after_cleanup(kExitRecordFailure);
}

void warn(std::string_view message) {
  std::fflush(stdout);
  const std::string line = "Warning: " + std::string(message) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace velko

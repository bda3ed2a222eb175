// Outcomes, the report that ends a program, stops, and cleanup on every exit.
#include "io_outcome.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include <unistd.h>

namespace velko {
namespace {

// Temporary output files not yet committed. Fixed slots, so that a signal
// handler can walk them without allocating.
constexpr int kPendingSlots = 64;
constexpr std::size_t kPathCapacity = 4096;
char g_pending[kPendingSlots][kPathCapacity];
volatile std::sig_atomic_t g_pending_used[kPendingSlots];

void (*volatile g_terminal_restore)() noexcept = nullptr;
ProgramEndHandler g_program_end_handler = nullptr;

[[noreturn]] void end_program(int status) {
  if (ProgramEndHandler handler = g_program_end_handler) handler(status);
  std::exit(status);
}

void run_exit_hooks() noexcept {
  remove_pending_outputs();
  if (auto hook = g_terminal_restore) hook();
}

extern "C" void on_terminating_signal(int signal_number) {
  run_exit_hooks();
  // Let the signal end the process as it would have without the handler.
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

}  // namespace

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

void io_fatal(IoError error, int unit, std::string_view file, const RecordPlace& place) {
  std::fflush(stdout);
  std::string report = io_report_line(error, unit, file);
  report += '\n';
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
  std::fputs(report.c_str(), stderr);
  std::fflush(stderr);
  run_exit_hooks();
  end_program(kExitRecordFailure);
}

bool outcome_is_handled(Outcome outcome, Handled handled) {
  switch (outcome) {
    case Outcome::Done: return true;
    case Outcome::EndOfFile: return handled != Handled::Nothing;
    case Outcome::Error: return handled == Handled::Errors;
  }
  return false;
}

void stop_program(int status) {
  // Console records that could not be written (a closed pipe, a full disk
  // behind a redirection) must not end the run as a success.
  if ((std::fflush(stdout) != 0 || std::ferror(stdout)) && status == kExitNormal)
    io_fatal(IoError::WriteFailure, kUnitConsoleOut, "standard output");
  run_exit_hooks();
  end_program(status);
}

void register_pending_output(const std::string& temp_path) {
  if (temp_path.size() >= kPathCapacity) throw std::length_error("output path too long: " + temp_path);
  for (int i = 0; i < kPendingSlots; ++i) {
    if (!g_pending_used[i]) {
      std::memcpy(g_pending[i], temp_path.c_str(), temp_path.size() + 1);
      g_pending_used[i] = 1;
      return;
    }
  }
  throw std::length_error("too many output files open at once");
}

void unregister_pending_output(const std::string& temp_path) {
  for (int i = 0; i < kPendingSlots; ++i) {
    if (g_pending_used[i] && temp_path == g_pending[i]) {
      g_pending_used[i] = 0;
      return;
    }
  }
}

void remove_pending_outputs() noexcept {
  for (int i = 0; i < kPendingSlots; ++i) {
    if (g_pending_used[i]) {
      ::unlink(g_pending[i]);
      g_pending_used[i] = 0;
    }
  }
}

void install_termination_handlers() {
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    struct sigaction action {};
    action.sa_handler = on_terminating_signal;
    sigemptyset(&action.sa_mask);
    sigaction(signal_number, &action, nullptr);
  }
}

void set_terminal_restore_hook(void (*hook)() noexcept) { g_terminal_restore = hook; }

void set_program_end_handler(ProgramEndHandler handler) { g_program_end_handler = handler; }

}  // namespace velko

// Stops, cleanup of unfinished outputs and the terminal on every exit path.
#include "program_end.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include <unistd.h>

#include "report.h"

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

void end_program_after_cleanup(int status) {
  run_exit_hooks();
  if (ProgramEndHandler handler = g_program_end_handler) handler(status);
  std::exit(status);
}

void stop_program(int status) {
  // Console records that could not be written (a closed pipe, a full disk
  // behind a redirection) must not end the run as a success.
  if ((std::fflush(stdout) != 0 || std::ferror(stdout)) && status == kExitNormal)
    io_fatal(IoError::WriteFailure, kUnitConsoleOut, "standard output");
  end_program_after_cleanup(status);
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

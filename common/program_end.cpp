// Stops, cleanup of unfinished outputs and the terminal on every exit path.
#include "program_end.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include <sys/wait.h>
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
void (*volatile g_continue_hook)() noexcept = nullptr;
volatile std::sig_atomic_t g_running_child = 0;
ProgramEndHandler g_program_end_handler = nullptr;

void run_exit_hooks() noexcept {
  remove_pending_outputs();
  if (auto hook = g_terminal_restore) hook();
}

// The signals whose default action ends the process (other than those that
// report a fault of the program itself).
sigset_t ending_signals() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGXFSZ, SIGXCPU, SIGALRM,
                            SIGVTALRM, SIGPROF, SIGUSR1, SIGUSR2, SIGIO, SIGPWR, SIGSTKFLT})
    sigaddset(&set, signal_number);
  for (int signal_number = SIGRTMIN; signal_number <= SIGRTMAX; ++signal_number)
    sigaddset(&set, signal_number);
  return set;
}

extern "C" void on_terminating_signal(int signal_number) {
  const int saved_errno = errno;
  if (const pid_t child = g_running_child; child > 0) {
    ::kill(child, signal_number);
    ::kill(child, SIGCONT);  // a stopped program could not act on the signal
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    g_running_child = 0;
  }
  run_exit_hooks();
  // Let the signal end the process as it would have without the handler.
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
  errno = saved_errno;
}

extern "C" void on_continue(int) {
  const int saved_errno = errno;
  if (auto hook = g_continue_hook) hook();
  errno = saved_errno;
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
  const sigset_t ending = ending_signals();
  for (int signal_number = 1; signal_number < NSIG; ++signal_number) {
    if (sigismember(&ending, signal_number) != 1) continue;
    struct sigaction old {};
    if (sigaction(signal_number, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = on_terminating_signal;
    action.sa_mask = ending;  // one cleanup at a time
    sigaction(signal_number, &action, nullptr);
  }
  struct sigaction action {};
  action.sa_handler = on_continue;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGCONT, &action, nullptr);
}

EndingSignalsHeld::EndingSignalsHeld() {
  static_assert(sizeof(sigset_t) <= sizeof saved_);
  const sigset_t ending = ending_signals();
  sigset_t saved;
  sigprocmask(SIG_BLOCK, &ending, &saved);
  std::memcpy(saved_, &saved, sizeof saved);
}

EndingSignalsHeld::~EndingSignalsHeld() {
  sigset_t saved;
  std::memcpy(&saved, saved_, sizeof saved);
  sigprocmask(SIG_SETMASK, &saved, nullptr);
}

void set_terminal_restore_hook(void (*hook)() noexcept) { g_terminal_restore = hook; }

void set_continue_hook(void (*hook)() noexcept) { g_continue_hook = hook; }

void set_running_child(int pid) noexcept { g_running_child = pid; }

void set_program_end_handler(ProgramEndHandler handler) { g_program_end_handler = handler; }

}  // namespace velko

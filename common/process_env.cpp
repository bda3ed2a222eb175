// Arguments, environment values and running programs.
#include "process_env.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "lablen.h"

extern char** environ;

namespace velko {
namespace {
int g_argc = 0;
char** g_argv = nullptr;
}  // namespace

void set_arguments(int argc, char** argv) {
  g_argc = argc;
  g_argv = argv;
}

std::string argument_text(int k, std::size_t n) {
  if (k < 1 || k >= g_argc || g_argv == nullptr) return std::string(n, ' ');
  return fixed_text(g_argv[k], n);
}

std::string environment_text(const char* name, std::size_t n) {
  const char* value = std::getenv(name);
  return fixed_text(value ? value : "", n);
}

namespace {

// A signal that would end this program while it waits for a program it
// started is passed on to that program, which is then waited for; the signal
// takes effect here once the program has ended. The signals whose default
// action ends a process and that come from outside (a user, a terminal, a
// batch system); SIGKILL cannot be caught.
constexpr int kForwardedSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2, SIGALRM};
constexpr std::size_t kForwardedCount = std::size(kForwardedSignals);

volatile std::sig_atomic_t g_waited_child = 0;      // the started program, 0 when none
volatile std::sig_atomic_t g_signal_while_waiting = 0;  // the first such signal

extern "C" void forward_to_child(int signal_number) {
  if (g_signal_while_waiting == 0) g_signal_while_waiting = signal_number;
  const pid_t child = static_cast<pid_t>(g_waited_child);
  if (child > 0) ::kill(child, signal_number);
}

}  // namespace

RunResult run_program(const std::string& program, const std::vector<std::string>& args) {
  std::fflush(nullptr);  // what we wrote comes before what the program writes
  std::vector<char*> argv;
  argv.reserve(args.size() + 2);
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  // The forwarding handlers, for the signals not ignored; the signals stay
  // blocked until the program's id is known, so that none is lost in between.
  sigset_t forwarded;
  sigemptyset(&forwarded);
  for (int signal_number : kForwardedSignals) sigaddset(&forwarded, signal_number);
  sigset_t original_mask;
  ::sigprocmask(SIG_BLOCK, &forwarded, &original_mask);
  struct sigaction previous[kForwardedCount] = {};
  bool replaced[kForwardedCount] = {};
  g_signal_while_waiting = 0;
  g_waited_child = 0;
  for (std::size_t i = 0; i < kForwardedCount; ++i) {
    ::sigaction(kForwardedSignals[i], nullptr, &previous[i]);
    if (previous[i].sa_handler == SIG_IGN) continue;  // ignored here: inherited as ignored
    struct sigaction action {};
    action.sa_handler = forward_to_child;
    action.sa_mask = forwarded;
    replaced[i] = ::sigaction(kForwardedSignals[i], &action, nullptr) == 0;
  }
  auto restore_signals = [&] {
    g_waited_child = 0;
    for (std::size_t i = 0; i < kForwardedCount; ++i) {
      if (replaced[i]) ::sigaction(kForwardedSignals[i], &previous[i], nullptr);
    }
    ::sigprocmask(SIG_SETMASK, &original_mask, nullptr);
    // A signal that arrived meanwhile now has the effect it would have had.
    if (const int signal_number = g_signal_while_waiting) {
      g_signal_while_waiting = 0;
      std::raise(signal_number);
    }
  };

  // The program starts with the signal mask this program had.
  posix_spawnattr_t attributes;
  ::posix_spawnattr_init(&attributes);
  ::posix_spawnattr_setsigmask(&attributes, &original_mask);
  ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);

  RunResult result;
  pid_t pid = 0;
  // posix_spawnp looks a name without "/" up through PATH; with "/" it is a path.
  const int err =
      ::posix_spawnp(&pid, program.c_str(), nullptr, &attributes, argv.data(), environ);
  ::posix_spawnattr_destroy(&attributes);
  if (err != 0) {
    result.start_error = err;
    restore_signals();
    return result;
  }
  g_waited_child = static_cast<std::sig_atomic_t>(pid);
  ::sigprocmask(SIG_UNBLOCK, &forwarded, nullptr);

  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      result.start_error = errno;
      restore_signals();
      return result;
    }
  }
  restore_signals();
  result.started = true;
  if (WIFEXITED(status)) {
    result.exited = true;
    result.exit_status = WEXITSTATUS(status);
    // glibc's posix_spawnp reports a program that cannot be executed as exit 127.
  } else if (WIFSIGNALED(status)) {
    result.signal = WTERMSIG(status);
  }
  return result;
}

}  // namespace velko

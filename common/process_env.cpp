// Arguments, environment values and running programs.
#include "process_env.h"

#include <cerrno>
#include <cstdlib>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "lablen.h"
#include "program_end.h"

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

RunResult run_program(const std::string& program, const std::vector<std::string>& args) {
  std::fflush(nullptr);  // what we wrote comes before what the program writes
  std::vector<char*> argv;
  argv.reserve(args.size() + 2);
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  // The program starts with the signal mask this program has now; here the
  // ending signals are held from before the start until the program's id is
  // known, so that one arriving in between is passed on to it too.
  sigset_t mask_now;
  ::sigprocmask(SIG_SETMASK, nullptr, &mask_now);
  posix_spawnattr_t attributes;
  ::posix_spawnattr_init(&attributes);
  ::posix_spawnattr_setsigmask(&attributes, &mask_now);
  ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);

  RunResult result;
  pid_t pid = 0;
  int err = 0;
  {
    const EndingSignalsHeld held;
    // posix_spawnp looks a name without "/" up through PATH; with "/" it is a path.
    err = ::posix_spawnp(&pid, program.c_str(), nullptr, &attributes, argv.data(), environ);
    if (err == 0) set_running_child(pid);  // a signal that ends this program ends it too
  }
  ::posix_spawnattr_destroy(&attributes);
  if (err != 0) {
    result.start_error = err;
    return result;
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      result.start_error = errno;
      set_running_child(0);
      return result;
    }
  }
  set_running_child(0);
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

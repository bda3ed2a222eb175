#include "program_run.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <thread>

#include "test_files.h"

extern char** environ;

namespace test_support {
namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

// Exit statuses of a child that could not become the program.
constexpr int kNoWorkingDirectory = 125;
constexpr int kSetupFailed = 126;
constexpr int kExecFailed = 127;

struct Started {
  pid_t pid;
  int out_fd;  // read ends of the pipes of standard output and error
  int err_fd;
  std::string input_dir;
};

// The test's environment with the run's changes.
std::vector<std::string> environment_for(const RunSetup& run) {
  std::vector<std::string> entries;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view text = *entry;
    const std::string name(text.substr(0, text.find('=')));
    if (run.env.count(name) == 0) entries.emplace_back(text);
  }
  for (const auto& [name, value] : run.env) {
    if (value) entries.push_back(name + "=" + *value);
  }
  return entries;
}

std::vector<char*> pointers_to(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// In the child: says on standard error why it could not become the program
// and ends with the status. Only async-signal-safe calls.
[[noreturn]] void give_up(const std::string& message, int status) {
  [[maybe_unused]] const ssize_t written = ::write(2, message.data(), message.size());
  ::_exit(status);
}

// Standard input comes from a file in a directory of its own, so that a
// read-only or missing working directory does not stop it; standard output
// and error go to pipes, on which the file-size limit has no effect. All the
// child needs is made before the fork.
Started start(const RunSetup& run) {
  std::string input_dir = (std::filesystem::temp_directory_path() / "run-input-XXXXXX").string();
  if (::mkdtemp(input_dir.data()) == nullptr) {
    throw std::runtime_error("cannot make a directory for standard input: mkdtemp failed");
  }
  const std::string input_path = input_dir + "/input";
  test_files::write_file(input_path, run.input);

  std::vector<std::string> argv_texts = {run.program};
  argv_texts.insert(argv_texts.end(), run.args.begin(), run.args.end());
  std::vector<std::string> env_texts = environment_for(run);
  const std::vector<char*> argv = pointers_to(argv_texts);
  const std::vector<char*> envp = pointers_to(env_texts);
  const std::string cannot_redirect = "run_program: cannot redirect standard input or output\n";
  const std::string cannot_limit = "run_program: cannot set the file-size limit\n";
  const std::string cannot_switch = "run_program: cannot switch to the user \"nobody\"\n";
  const std::string cannot_chdir = "run_program: cannot change to the directory " + run.dir + "\n";
  const std::string cannot_exec = "run_program: cannot execute " + run.program + "\n";

  int out_pipe[2];
  int err_pipe[2];
  if (::pipe2(out_pipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  if (::pipe2(err_pipe, O_CLOEXEC) != 0) {
    ::close(out_pipe[0]);
    ::close(out_pipe[1]);
    throw std::runtime_error("pipe failed");
  }
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    if (::dup2(err_pipe[1], 2) < 0) ::_exit(kSetupFailed);
    const int in = ::open(input_path.c_str(), O_RDONLY | O_CLOEXEC);
    const int out = run.stdout_to_dev_full ? ::open("/dev/full", O_WRONLY | O_CLOEXEC) : out_pipe[1];
    if (in < 0 || out < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0) {
      give_up(cannot_redirect, kSetupFailed);
    }
    if (run.file_size_limit >= 0) {
      ::signal(SIGXFSZ, SIG_IGN);  // stays ignored across exec
      const rlimit limit{static_cast<rlim_t>(run.file_size_limit),
                         static_cast<rlim_t>(run.file_size_limit)};
      if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) give_up(cannot_limit, kSetupFailed);
    }
    if (run.as_other_user && ::geteuid() == 0) {
      if (::setgroups(0, nullptr) != 0 || ::setgid(kNoGroup) != 0 || ::setuid(kNobody) != 0) {
        give_up(cannot_switch, kSetupFailed);
      }
    }
    // After the switch of user, so that the directory is entered as that user.
    if (::chdir(run.dir.c_str()) != 0) give_up(cannot_chdir, kNoWorkingDirectory);
    ::execve(argv[0], argv.data(), envp.data());
    give_up(cannot_exec, kExecFailed);
  }
  ::close(out_pipe[1]);
  ::close(err_pipe[1]);
  return Started{pid, out_pipe[0], err_pipe[0], input_dir};
}

// Reads both pipes to their ends.
void drain(int out_fd, int err_fd, std::string& out, std::string& err) {
  pollfd fds[2] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
  std::string* sinks[2] = {&out, &err};
  int open_count = 2;
  char chunk[65536];
  while (open_count > 0) {
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("poll failed");
    }
    for (int k = 0; k < 2; ++k) {
      if (fds[k].fd < 0 || fds[k].revents == 0) continue;
      const ssize_t got = ::read(fds[k].fd, chunk, sizeof chunk);
      if (got > 0) {
        sinks[k]->append(chunk, static_cast<std::size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        ::close(fds[k].fd);
        fds[k].fd = -1;
        --open_count;
      }
    }
  }
}

RunOutcome finish(const Started& started) {
  RunOutcome outcome;
  drain(started.out_fd, started.err_fd, outcome.out, outcome.err);
  int wait_status = 0;
  while (::waitpid(started.pid, &wait_status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(wait_status)) outcome.status = WEXITSTATUS(wait_status);
  if (WIFSIGNALED(wait_status)) outcome.signal = WTERMSIG(wait_status);
  std::error_code ignored;
  std::filesystem::remove_all(started.input_dir, ignored);
  return outcome;
}

}  // namespace

RunOutcome run_program(const RunSetup& run) { return finish(start(run)); }

RunOutcome run_and_signal(const RunSetup& run, std::chrono::microseconds delay, int signal) {
  const Started started = start(run);
  std::this_thread::sleep_for(delay);
  ::kill(started.pid, signal);
  return finish(started);
}

bool can_run_as_other_user(const std::vector<std::string>& programs, std::string& reason) {
  if (::geteuid() != 0) return true;  // file modes apply to an ordinary user
  if (::getpwuid(kNobody) == nullptr) {
    reason = "running as root and there is no user \"nobody\" (uid 65534) to run as";
    return false;
  }
  // Every directory above the programs must let that user through.
  for (const std::string& program : programs) {
    std::filesystem::path dir = std::filesystem::path(program).parent_path();
    for (; !dir.empty() && dir != dir.root_path(); dir = dir.parent_path()) {
      struct stat info {};
      if (::stat(dir.c_str(), &info) != 0 || (info.st_mode & S_IXOTH) == 0) {
        reason = "the user \"nobody\" cannot reach " + program + " (" + dir.string() + ")";
        return false;
      }
    }
  }
  return true;
}

}  // namespace test_support

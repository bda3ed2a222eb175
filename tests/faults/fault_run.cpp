#include "fault_run.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace faults {
namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

struct Started {
  pid_t pid;
  int out_fd;  // read ends of the pipes of standard output and error
  int err_fd;
  std::string capture_dir;
};

// Standard input comes from a file in a directory of its own, so that a
// read-only or missing working directory does not stop it; standard output
// and error go to pipes, on which the file-size limit has no effect.
Started start(const RunSpec& spec) {
  std::string pattern = (std::filesystem::temp_directory_path() / "fault-io-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  const std::string in_path = pattern + "/in";
  write_file(in_path, spec.input);
  int out_pipe[2];
  int err_pipe[2];
  if (::pipe2(out_pipe, O_CLOEXEC) != 0 || ::pipe2(err_pipe, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe failed");
  }
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    const int in = ::open(in_path.c_str(), O_RDONLY);
    const int out = spec.stdout_to_dev_full ? ::open("/dev/full", O_WRONLY) : out_pipe[1];
    if (in < 0 || out < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
        ::dup2(err_pipe[1], 2) < 0) {
      ::_exit(126);
    }
    for (const auto& [name, value] : spec.env) {
      if (value) ::setenv(name.c_str(), value->c_str(), 1);
      else ::unsetenv(name.c_str());
    }
    if (spec.file_size_limit >= 0) {
      ::signal(SIGXFSZ, SIG_IGN);  // stays ignored across exec
      const rlimit limit{static_cast<rlim_t>(spec.file_size_limit),
                         static_cast<rlim_t>(spec.file_size_limit)};
      if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(126);
    }
    if (spec.as_other_user && ::geteuid() == 0) {
      if (::setgroups(0, nullptr) != 0 || ::setgid(kNoGroup) != 0 || ::setuid(kNobody) != 0) {
        ::_exit(126);
      }
    }
    if (::chdir(spec.dir.c_str()) != 0) ::_exit(125);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(spec.program.c_str()));
    for (const std::string& arg : spec.args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(spec.program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(out_pipe[1]);
  ::close(err_pipe[1]);
  return Started{pid, out_pipe[0], err_pipe[0], pattern};
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
  std::filesystem::remove_all(started.capture_dir, ignored);
  return outcome;
}

}  // namespace

Scratch::Scratch() {
  std::string pattern = (std::filesystem::temp_directory_path() / "fault-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  ::chmod(pattern.c_str(), 0777);
  path_ = pattern;
}

Scratch::~Scratch() {
  std::error_code ignored;
  // Give back write permission first, so that everything can be removed.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
    if (entry.is_directory(ignored)) ::chmod(entry.path().c_str(), 0777);
  }
  ::chmod(path_.c_str(), 0777);
  std::filesystem::remove_all(path_, ignored);
}

RunOutcome run(const RunSpec& spec) { return finish(start(spec)); }

RunOutcome run_and_signal(const RunSpec& spec, std::chrono::microseconds delay, int signal) {
  const Started started = start(spec);
  std::this_thread::sleep_for(delay);
  ::kill(started.pid, signal);
  return finish(started);
}

bool can_deny_access(std::string& reason) {
  if (::geteuid() != 0) return true;  // file modes apply to an ordinary user
  if (::getpwuid(kNobody) == nullptr) {
    reason = "running as root and there is no user \"nobody\" (uid 65534) to run as";
    return false;
  }
  // The programs must be reachable by that user.
  for (const std::string& program : {ironsift_path(), wavepick_path()}) {
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


std::vector<std::string> list_dir(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ironsift_path() { return IRONSIFT_PATH; }
std::string wavepick_path() { return WAVEPICK_PATH; }
std::string update_driver_path() { return UPDATE_DRIVER_PATH; }

}  // namespace faults

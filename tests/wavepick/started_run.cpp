// Runs of wavepick that are started and waited for in two steps.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "wavepick_run.h"

extern char** environ;

namespace wavepick_test {
namespace fs = std::filesystem;

namespace {

std::string whole_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

StartedRun WavepickRun::start(const std::vector<std::string>& arguments, const std::string& tag) {
  std::vector<std::string> environment;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    if (entry.rfind("PATH=", 0) == 0 || entry.rfind("VELKO", 0) == 0) continue;
    environment.push_back(entry);
  }
  environment.push_back("PATH=" + bin_.string() + ":/usr/bin:/bin");
  if (!velko_unset_ && environment_.count("VELKO") == 0) {
    environment.push_back("VELKO=" + velko_.string());
  }
  for (const auto& [name, value] : environment_) {
    if (!(velko_unset_ && name == "VELKO")) environment.push_back(name + "=" + value);
  }

  std::vector<std::string> argv_text = {WAVEPICK_EXECUTABLE};
  argv_text.insert(argv_text.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv, envp;
  for (std::string& a : argv_text) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (std::string& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);

  StartedRun started;
  started.out_path = root_ / ("stdout" + tag + ".txt");
  started.err_path = root_ / ("stderr" + tag + ".txt");
  const pid_t pid = fork();
  if (pid == 0) {
    const int out = ::open(started.out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(started.err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || ::chdir(work_.c_str()) != 0) _exit(126);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    ::execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  started.pid = pid;
  return started;
}

RunOutput WavepickRun::finish(const StartedRun& started) {
  RunOutput output;
  int status = 0;
  if (started.pid > 0 && ::waitpid(started.pid, &status, 0) == started.pid) {
    output.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  output.out = whole_file(started.out_path);
  output.err = whole_file(started.err_path);
  return output;
}

}  // namespace wavepick_test

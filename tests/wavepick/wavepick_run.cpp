#include "wavepick_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

extern char** environ;

namespace wavepick_test {
namespace fs = std::filesystem;

std::vector<std::string> RunOutput::out_records() const {
  std::vector<std::string> records;
  std::istringstream stream(out);
  std::string line;
  while (std::getline(stream, line)) records.push_back(line);
  return records;
}

std::string gf_record(double wavelength_nm, double log_gf, const std::string& species,
                      double energy1, double energy2) {
  char record[200];
  std::snprintf(record, sizeof record, "%11.4f%7.3f%6s%12.3f%5.1f %-10s%12.3f%5.1f %-10s%6.2f%6.2f%6.2f%s",
                wavelength_nm, log_gf, species.c_str(), energy1, 2.0, "d6s2 a5D", energy2, 3.0,
                "d6sp z5F", 8.10, -5.20, -7.30, "K94  0 0  0 0.000  0 0.000      1147 ");
  return record;
}

namespace {

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

void WavepickRun::SetUp() {
  char pattern[] = "/tmp/wavepick e2e.XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  root_ = pattern;
  velko_ = root_ / "velko home";
  work_ = root_ / "work";
  bin_ = root_ / "bin";
  fs::create_directories(velko_ / "kbgfdos");
  fs::create_directories(velko_ / "exefiles");
  fs::create_directories(work_);
  fs::create_directories(bin_);
  const fs::path standins = WAVEPICK_STANDIN_DIR;
  for (const char* program : {"tolmar", "vessik", "quorra"}) {
    fs::create_symlink(standins / program, velko_ / "exefiles" / program);
  }
  fs::create_symlink(standins / "width", bin_ / "width");
}

void WavepickRun::TearDown() { fs::remove_all(root_); }

void WavepickRun::write_gf(const std::string& name, const std::vector<std::string>& records) {
  std::ofstream out(velko_ / "kbgfdos" / name, std::ios::binary);
  for (const std::string& r : records) out << r << '\n';
}

void WavepickRun::write_work_file(const std::string& name, const std::string& content) {
  std::ofstream(work_ / name, std::ios::binary) << content;
}

std::string WavepickRun::read_work_file(const std::string& name) const { return slurp(work_ / name); }

std::vector<std::string> WavepickRun::work_records(const std::string& name) const {
  std::vector<std::string> records;
  std::istringstream stream(read_work_file(name));
  std::string line;
  while (std::getline(stream, line)) records.push_back(line);
  return records;
}

bool WavepickRun::work_file_exists(const std::string& name) const {
  return fs::exists(work_ / name);
}

void WavepickRun::standin_width() {
  fs::remove(bin_ / "width");
  fs::create_symlink(fs::path(WAVEPICK_STANDIN_DIR) / "width", bin_ / "width");
}

void WavepickRun::fake_width(const std::string& ewtemp, int status) {
  fs::remove(bin_ / "width");
  const fs::path results = root_ / "fake_ewtemp.csv";
  std::ofstream(results, std::ios::binary) << ewtemp;
  std::ofstream script(bin_ / "width");
  script << "#!/bin/sh\n";
  script << "cp '" << results.string() << "' ewtemp.csv\n";
  script << "exit " << status << "\n";
  script.close();
  fs::permissions(bin_ / "width", fs::perms::owner_all);
}

RunOutput WavepickRun::run(const std::vector<std::string>& arguments) {
  std::vector<std::string> environment;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    if (entry.rfind("PATH=", 0) == 0 || entry.rfind("VELKO", 0) == 0) continue;
    environment.push_back(entry);
  }
  environment.push_back("PATH=" + bin_.string() + ":/usr/bin:/bin");
  environment.push_back("VELKO=" + velko_.string());
  for (const auto& [name, value] : environment_) environment.push_back(name + "=" + value);

  std::vector<std::string> argv_text = {WAVEPICK_EXECUTABLE};
  argv_text.insert(argv_text.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv, envp;
  for (std::string& a : argv_text) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (std::string& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);

  const fs::path out_path = root_ / "stdout.txt";
  const fs::path err_path = root_ / "stderr.txt";
  const pid_t pid = fork();
  if (pid == 0) {
    const int out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || ::chdir(work_.c_str()) != 0) _exit(126);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    ::execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  RunOutput output;
  int status = 0;
  if (pid > 0 && ::waitpid(pid, &status, 0) == pid) {
    output.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  output.out = slurp(out_path);
  output.err = slurp(err_path);
  return output;
}

}  // namespace wavepick_test

#include "run_support.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace ironsift_test {

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "ironsift-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}


ProgramRun run_program_in(const std::string& program, const std::string& dir,
                          const std::vector<std::string>& args, const std::string& stdin_text,
                          const std::map<std::string, std::optional<std::string>>& env) {
  const std::string in_path = dir + "/.stdin";
  const std::string out_path = dir + "/.stdout";
  const std::string err_path = dir + "/.stderr";
  write_file(in_path, stdin_text);
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    const int in = ::open(in_path.c_str(), O_RDONLY);
    const int out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
        ::dup2(err, 2) < 0 || ::chdir(dir.c_str()) != 0) {
      ::_exit(127);
    }
    ::unsetenv("MOD_DIR");
    for (const auto& [name, value] : env) {
      if (value) ::setenv(name.c_str(), value->c_str(), 1);
      else ::unsetenv(name.c_str());
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  int wait_status = 0;
  ::waitpid(pid, &wait_status, 0);
  ProgramRun run;
  run.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
  run.out = read_file(out_path).value_or("");
  run.err = read_file(err_path).value_or("");
  std::remove(in_path.c_str());
  std::remove(out_path.c_str());
  std::remove(err_path.c_str());
  return run;
}

std::string params_text(const std::vector<TableLine>& lines, int count, int records_written) {
  std::string text = " 5777.0\n 4.44\n 0.00\n 1.00\n " + std::to_string(count) + "\n";
  char record[64];
  for (int i = 0; i < records_written; ++i) {
    const std::size_t index = static_cast<std::size_t>(i);
    const TableLine line = index < lines.size()
                               ? lines[index]
                               : TableLine{9001 + i, 9000.5 + static_cast<double>(i)};
    std::snprintf(record, sizeof record, "%5d 26.00 %10.3f\n", line.line_number, line.wavelength);
    text += record;
  }
  return text;
}

std::string wdt_record(const std::string& species, const std::string& wavelength9,
                       const std::string& width7, const std::string& code3,
                       const std::string& tail7) {
  if (species.size() != 5 || wavelength9.size() != 9 || width7.size() != 7 ||
      code3.size() != 3 || tail7.size() != 7) {
    throw std::invalid_argument("wdt_record: field of wrong width");
  }
  std::string record = " " + species + wavelength9;         // columns 1-15
  record += " 3.300 -2.183 " + std::string(16, '.');        // columns 16-45
  record += width7;                                          // columns 46-52
  record += tail7;                                           // columns 53-59
  record += code3.substr(0, 1);                              // column 60
  record += "  note   ";                                     // columns 61-69
  record += code3.substr(1, 2);                              // columns 70-71
  record += " end.....";                                     // columns 72-80
  if (record.size() != 80) throw std::logic_error("wdt_record: not 80 columns");
  return record + "\n";
}

}  // namespace ironsift_test

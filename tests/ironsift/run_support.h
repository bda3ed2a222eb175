// Running a built program in a scratch directory, for end-to-end tests.
#pragma once

#include "test_files.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ironsift_test {

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

struct ProgramRun {
  int status = -1;     // exit status; -1 when ended by a signal
  std::string out;     // standard output
  std::string err;     // standard error
};

// Runs program with args in dir, standard input from stdin_text. env: values
// to set (a value of std::nullopt unsets the variable); MOD_DIR is unset
// unless given.
ProgramRun run_program_in(const std::string& program, const std::string& dir,
                          const std::vector<std::string>& args, const std::string& stdin_text,
                          const std::map<std::string, std::optional<std::string>>& env = {});

using test_files::write_file;
using test_files::read_file;

// A "params.dat": four parameter records, the count, then `count` line
// records (never more than 330 written unless asked by records_written). The
// given lines fill the table from its start; the rest are filler lines
// numbered 9001 on at wavelengths 9000.5 + index, far from every fixture line.
struct TableLine {
  int line_number;
  double wavelength;
};
std::string params_text(const std::vector<TableLine>& lines, int count = 330,
                        int records_written = 330);

// One 80-column ".wdt" record: species text in columns 2-6, the wavelength
// text in 7-15 (9 characters), the width text in 46-52 (7 characters), the
// code's three characters in columns 60, 70 and 71; the other columns hold a
// fixed pattern with the line's own text in 16-27 and 53-59.
std::string wdt_record(const std::string& species, const std::string& wavelength9,
                       const std::string& width7, const std::string& code3,
                       const std::string& tail7 = "  src01");

}  // namespace ironsift_test

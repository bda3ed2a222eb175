// The ironsift tests' names for the shared program runner, scratch directory
// and input-file makers (tests/support).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ironsift_inputs.h"
#include "program_run.h"
#include "scratch_dir.h"
#include "test_files.h"

namespace ironsift_test {

using test_support::ScratchDir;
using ProgramRun = test_support::RunOutcome;
using test_support::params_text;
using test_support::TableLine;
using test_support::wdt_record;
using test_files::read_file;
using test_files::write_file;

// Runs program with args in dir, standard input from stdin_text. env: values
// to set (a value of std::nullopt unsets the variable); MOD_DIR is unset
// unless given, so that params.dat is read from dir.
inline ProgramRun run_program_in(
    const std::string& program, const std::string& dir, const std::vector<std::string>& args,
    const std::string& stdin_text,
    const std::map<std::string, std::optional<std::string>>& env = {}) {
  test_support::RunSetup run;
  run.program = program;
  run.args = args;
  run.dir = dir;
  run.input = stdin_text;
  run.env = env;
  run.env.try_emplace("MOD_DIR", std::nullopt);
  return test_support::run_program(run);
}

}  // namespace ironsift_test

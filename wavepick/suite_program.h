// Running one of the suite's programs (tolmar, vessik, quorra, width) and
// telling on standard error how a run that did not end well ended.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "process_env.h"

namespace wavepick {

// What went wrong with a run, for a message: "could not start ...", "... ended
// with exit status N", "... was ended by signal N (name)"; empty when the
// program started and exited with status 0. shown_as is the command line as
// users know it.
std::string run_failure(std::string_view shown_as, const velko::RunResult& result);

// Runs program with arguments (no shell) and waits for it. A run that could
// not start or did not exit with status 0 is told on standard error. Returns
// true when the program exited with status 0.
bool run_suite_program(const std::string& program, const std::vector<std::string>& arguments,
                       std::string_view shown_as);

}  // namespace wavepick

// The fault tests' names for the shared program runner and scratch directory
// (tests/support), and the paths of the programs under test.
#pragma once

#include <string>

#include "program_run.h"
#include "scratch_dir.h"
#include "test_files.h"

namespace faults {

using test_support::RunSetup;
using test_support::RunOutcome;
using test_support::run_and_signal;
using test_support::run_program;
using Scratch = test_support::ScratchDir;
using test_files::list_dir;
using test_files::read_file;
using test_files::write_file;

// Paths of the built programs.
std::string ironsift_path();

// ironsift in mode "i" on the star "HD" in dir, answering the threshold
// question with `threshold` and the update question with "g"; MOD_DIR unset,
// so that dir's params.dat is the one read.
RunSetup threshold_update_run(const std::string& dir, const std::string& threshold);
std::string wavepick_path();
// The driver of ironsift's interactive update (line numbers to reject as its
// second argument, keys on standard input), a stand-in for modes w and c.
std::string update_driver_path();

// True when the tests can deny ironsift and wavepick access to a file by its
// modes (see test_support::can_run_as_other_user); the reason is set when not.
bool can_deny_access(std::string& reason);

}  // namespace faults

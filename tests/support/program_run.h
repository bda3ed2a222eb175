// Running a built program for a test: arguments, working directory, standard
// input, environment, and the faults a test may inject (a file-size limit, an
// unprivileged user, a standard output that is full, a signal after a delay).
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace test_support {

struct RunSetup {
  std::string program;  // path of the executable
  std::vector<std::string> args;
  std::string dir;      // working directory
  std::string input;    // the whole of standard input
  // Changes to the test's own environment: a value sets the variable,
  // std::nullopt unsets it.
  std::map<std::string, std::optional<std::string>> env;
  // RLIMIT_FSIZE in bytes, or -1 for none. SIGXFSZ is ignored, so a write past
  // the limit fails with EFBIG as a write to a full disk fails with ENOSPC.
  long file_size_limit = -1;
  bool as_other_user = false;       // run as "nobody" (uid 65534) when the tests run as root
  bool stdout_to_dev_full = false;  // standard output is /dev/full: every write fails with ENOSPC
};

struct RunOutcome {
  int status = -1;  // exit status; -1 when a signal ended the program
  int signal = 0;   // the signal that ended it, or 0
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs the program and waits for its end. When the program cannot be started
// as set up (working directory, limit, user, executable), the outcome has
// status 125, 126 or 127 and err says what failed.
RunOutcome run_program(const RunSetup& run);

// Starts the program, waits the given time, sends it the signal, and waits
// for its end.
RunOutcome run_and_signal(const RunSetup& run, std::chrono::microseconds delay, int signal);

// True when a test can run these programs as another user, so that file
// modes deny it access: the tests run as root, "nobody" exists and can reach
// the programs; or the tests run as an ordinary user already (the file modes
// apply to it). When not, reason says why.
bool can_run_as_other_user(const std::vector<std::string>& programs, std::string& reason);

}  // namespace test_support

// Running the built programs under injected faults: a file-size limit (a full
// disk), another user (permission denied), a signal at a chosen moment.
#pragma once

#include "test_files.h"

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace faults {

// A fresh directory, open to every user, removed with its contents at the end.
class Scratch {
 public:
  Scratch();
  ~Scratch();
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

struct RunSpec {
  std::string program;
  std::vector<std::string> args;
  std::string dir;         // working directory
  std::string input;       // standard input
  std::map<std::string, std::optional<std::string>> env;  // nullopt unsets
  long file_size_limit = -1;  // RLIMIT_FSIZE in bytes; SIGXFSZ is ignored, so a
                              // write past it fails with EFBIG like a full disk
  bool as_other_user = false; // run as "nobody" (only possible as root)
  bool stdout_to_dev_full = false;
};

struct RunOutcome {
  int status = -1;  // exit status; -1 when a signal ended the program
  int signal = 0;
  std::string out;
  std::string err;
};

// Runs the program and waits for it.
RunOutcome run(const RunSpec& spec);

// Starts the program, waits the given time, sends the signal, and waits for
// the end.
RunOutcome run_and_signal(const RunSpec& spec, std::chrono::microseconds delay, int signal);

// True when the tests can run a program as another user (they run as root and
// "nobody" exists), or when they run as an ordinary user already (then file
// modes alone deny access). The reason is set when not.
bool can_deny_access(std::string& reason);

using test_files::write_file;
using test_files::read_file;
// Names of the files in a directory, sorted.
std::vector<std::string> list_dir(const std::string& dir);

// Paths of the built programs.
std::string ironsift_path();
std::string wavepick_path();
// The driver of ironsift's interactive update (line numbers to reject as its
// second argument, keys on standard input), a stand-in for modes w and c.
std::string update_driver_path();

}  // namespace faults

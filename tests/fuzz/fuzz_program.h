// Running a program's own reading code on fuzz input, in one process.
//
// The programs end on bad input: a stop with a message (status 1) or the
// record layer's report (status 2). Here such an end throws ProgramEnded back
// to the target, so that it counts as an ordinary outcome of one input; an
// end with any other status is a finding. The process works in a scratch
// directory (on tmpfs when there is one, so that the writers' syncs are
// cheap) while an input runs (InScratch), and the console's output is
// discarded.
#pragma once

#include <fcntl.h>
#include <stdio_ext.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "outcome.h"
#include "program_end.h"

namespace fuzz {

struct ProgramEnded {
  int status;
};

[[noreturn]] inline void throw_program_end(int status) { throw ProgramEnded{status}; }

inline std::string& scratch_path() {
  static std::string path;
  return path;
}

inline void remove_scratch_directory() {
  std::error_code ignored;
  if (!scratch_path().empty()) std::filesystem::remove_all(scratch_path(), ignored);
}

// Called once from LLVMFuzzerInitialize, with its arguments. A crash inside
// the program's code happens in the scratch directory, so the crash input is
// saved where libFuzzer was started unless -artifact_prefix says otherwise.
inline void set_up_program_run(int* argc, char*** argv) {
  velko::set_program_end_handler(throw_program_end);
  for (const char* base : {static_cast<const char*>("/dev/shm"),
                           static_cast<const char*>(std::getenv("TMPDIR")),
                           static_cast<const char*>("/tmp")}) {
    if (base == nullptr) continue;
    std::string pattern = std::string(base) + "/velko-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr) {
      scratch_path() = pattern;
      break;
    }
  }
  if (scratch_path().empty()) {
    std::perror("fuzz: no scratch directory");
    std::abort();
  }
  std::atexit(remove_scratch_directory);
  // Console records go nowhere; libFuzzer reports on standard error.
  const int null_fd = ::open("/dev/null", O_WRONLY);
  if (null_fd < 0 || ::dup2(null_fd, STDOUT_FILENO) < 0) std::abort();
  ::close(null_fd);

  bool prefix_given = false;
  for (int i = 0; i < *argc; ++i) {
    if (std::string_view((*argv)[i]).starts_with("-artifact_prefix=")) prefix_given = true;
  }
  if (!prefix_given) {
    static std::vector<std::string> texts;
    static std::vector<char*> arguments;
    texts.push_back("-artifact_prefix=" + std::filesystem::current_path().string() + "/");
    arguments.assign(*argv, *argv + *argc);
    arguments.insert(arguments.begin() + 1, texts.back().data());
    arguments.push_back(nullptr);
    *argv = arguments.data();
    *argc += 1;
  }
}

// The working directory while one input runs: the scratch directory, left
// again afterwards, so that libFuzzer's own paths (corpus directories given
// relative to where it started) keep their meaning.
class InScratch {
 public:
  InScratch() : home_(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (home_ < 0 || ::chdir(scratch_path().c_str()) != 0) std::abort();
  }
  ~InScratch() {
    if (::fchdir(home_) != 0) std::abort();
    ::close(home_);
  }
  InScratch(const InScratch&) = delete;
  InScratch& operator=(const InScratch&) = delete;

 private:
  int home_;
};

// Runs one input through body. A stop (status 1) or a report (status 2) is a
// legitimate end; any other status, or a normal end that the caller did not
// expect, is trapped by the caller's own checks.
template <class Body>
bool run_program_code(Body&& body) {
  try {
    body();
    return true;
  } catch (const ProgramEnded& ended) {
    if (ended.status != velko::kExitStopFailure && ended.status != velko::kExitRecordFailure) {
      __builtin_trap();
    }
    return false;
  }
}

// Writes the fuzz input as a file in the scratch directory.
inline void write_input_file(const std::string& name, const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(name.c_str(), "wb");
  if (file == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  if (std::fclose(file) != 0) std::abort();
}

// Makes the fuzz input the program's standard input (the console).
inline void set_console_input(const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(".console", "wb");
  if (file == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  if (std::fclose(file) != 0) std::abort();
  const int fd = ::open(".console", O_RDONLY);
  if (fd < 0 || ::dup2(fd, STDIN_FILENO) < 0) std::abort();
  ::close(fd);
  __fpurge(stdin);
  std::clearerr(stdin);
}

}  // namespace fuzz

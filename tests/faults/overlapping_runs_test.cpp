// Two interactive updates of one star at the same time: each appends its
// rejected lines to the star's deletion log, and neither run's lines may be
// lost to the other's replacement of the log.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "fault_run.h"
#include "fixtures.h"

namespace faults {
namespace {

namespace fs = std::filesystem;

const std::string kOldLog = "old deletion log\n";

// A star of 20 Fe I lines, numbered 1 to 20, and an old log (in `log_dir`,
// reached through a link when that is not the star's directory).
void write_star(const Scratch& dir, const std::string& log_dir) {
  write_file(dir / "params.dat", params_text());
  std::string abd;
  for (int line = 1; line <= 20; ++line) abd += abd_record(line, "26.00", 20.0 + line, 7.5);
  write_file(dir / "HD.abd", abd);
  write_file(log_dir + "/HD.del", kOldLog);
  if (log_dir != dir.path()) fs::create_symlink(log_dir + "/HD.del", dir / "HD.del");
}

RunSetup update_rejecting(const Scratch& dir, const std::string& lines) {
  RunSetup run;
  run.program = update_driver_path();
  run.args = {"HD", lines};
  run.dir = dir.path();
  run.input = "g\n";
  run.env = {{"MOD_DIR", std::nullopt}};
  return run;
}

// The log's records that start with line number `line` (I4).
int records_of_line(const std::string& log, int line) {
  char head[8];
  std::snprintf(head, sizeof head, "%4d", line);
  int count = 0;
  std::size_t at = 0;
  while (at < log.size()) {
    const std::size_t end = log.find('\n', at);
    if (log.compare(at, 4, head) == 0) ++count;
    at = end == std::string::npos ? log.size() : end + 1;
  }
  return count;
}

void expect_both_runs_logged(const std::string& log) {
  EXPECT_EQ(log.rfind(kOldLog, 0), 0u) << log;
  for (const int line : {3, 4, 15, 16}) EXPECT_EQ(records_of_line(log, line), 1) << line << "\n" << log;
}

TEST(OverlappingRuns, SecondUpdateWaitsForTheFirstAndSaysSo) {
  // The test holds the lock the programs take, starts both runs, and lets go
  // once both are waiting: then they must take turns.
  Scratch dir;
  write_star(dir, dir.path());
  const int held = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  RunOutcome first;
  RunOutcome second;
  std::thread a([&] { first = run_program(update_rejecting(dir, "3,4")); });
  std::thread b([&] { second = run_program(update_rejecting(dir, "15,16")); });
  // Both runs wait once the kernel lists two blocked lock requests on the
  // directory (/proc/locks marks a waiter with "->").
  struct stat info {};
  ASSERT_EQ(::fstat(held, &info), 0);
  const std::string inode = ":" + std::to_string(info.st_ino) + " ";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  int waiting = 0;
  while (waiting < 2 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    waiting = 0;
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);)
      if (line.find("->") != std::string::npos && line.find(inode) != std::string::npos) ++waiting;
  }
  EXPECT_EQ(waiting, 2) << "the runs did not both wait for the lock";
  ::flock(held, LOCK_UN);
  ::close(held);
  a.join();
  b.join();
  for (const RunOutcome* outcome : {&first, &second}) {
    EXPECT_EQ(outcome->status, 0) << outcome->err;
    const std::string notice = "waiting for another run to finish its update in the current directory\n";
    const std::size_t at = outcome->err.find(notice);
    EXPECT_NE(at, std::string::npos) << outcome->err;
    EXPECT_EQ(outcome->err.find(notice, at + 1), std::string::npos) << "said more than once";
  }
  expect_both_runs_logged(*read_file(dir / "HD.del"));
}

TEST(OverlappingRuns, RunsStartedTogetherBothLandTheirLines) {
  // Free-running pairs, also with a log shared through a link: whatever the
  // order, both runs' lines end in the log, each once.
  for (const bool shared : {false, true}) {
    for (int round = 0; round < 5; ++round) {
      SCOPED_TRACE((shared ? "shared log, round " : "round ") + std::to_string(round));
      Scratch dir;
      Scratch logs;
      write_star(dir, shared ? logs.path() : dir.path());
      RunOutcome first;
      RunOutcome second;
      std::thread a([&] { first = run_program(update_rejecting(dir, "3,4")); });
      std::thread b([&] { second = run_program(update_rejecting(dir, "15,16")); });
      a.join();
      b.join();
      EXPECT_EQ(first.status, 0) << first.err;
      EXPECT_EQ(second.status, 0) << second.err;
      expect_both_runs_logged(*read_file((shared ? logs.path() : dir.path()) + "/HD.del"));
      if (shared) {
        EXPECT_TRUE(fs::is_symlink(dir / "HD.del"));
      }
    }
  }
}

}  // namespace
}  // namespace faults

// A full disk while the programs write their files: a clear report, a
// non-zero status, the old files untouched and no temporary file left. The
// disk is made "full" by a file-size limit (RLIMIT_FSIZE, SIGXFSZ ignored):
// a write past it fails with EFBIG, as a write to a full disk fails with
// ENOSPC, and it needs no privileges.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "fault_run.h"
#include "fixtures.h"

namespace faults {
namespace {

const std::string kOldList = "old observed list\n";
const std::string kOldLog = "old deletion log\n";

// A star HD with 330 measured lines, three measurements each, and the files of
// an earlier update.
void write_star(const Scratch& dir) {
  write_file(dir / "params.dat", params_text());
  write_file(dir / "HD.wdt", wdt_text(330, 3));
  write_file(dir / "HD.obs", kOldList);
  write_file(dir / "HD.del", kOldLog);
}

RunOutcome run_ironsift_update(const Scratch& dir, const std::string& threshold, long limit) {
  RunSetup run = threshold_update_run(dir.path(), threshold);
  run.file_size_limit = limit;
  return run_program(run);
}

void expect_write_report(const RunOutcome& outcome, const std::string& file) {
  EXPECT_EQ(outcome.signal, 0);
  EXPECT_EQ(outcome.status, 2) << outcome.err;
  EXPECT_NE(outcome.err.find("error during write"), std::string::npos) << outcome.err;
  EXPECT_NE(outcome.err.find("file " + file), std::string::npos) << outcome.err;
}

TEST(FullDisk, ObservedListLargerThanTheDiskLeavesBothOldFiles) {
  Scratch dir;
  write_star(dir);
  // Infinite threshold: every line goes to the list (about 30 kB), none to the log.
  const RunOutcome outcome = run_ironsift_update(dir, "", 8000);
  expect_write_report(outcome, "HD.obs");
  EXPECT_EQ(read_file(dir / "HD.obs"), kOldList);
  EXPECT_EQ(read_file(dir / "HD.del"), kOldLog);
  EXPECT_EQ(list_dir(dir.path()), (std::vector<std::string>{"HD.del", "HD.obs", "HD.wdt", "params.dat"}));
  EXPECT_EQ(outcome.out.find("file update finished !"), std::string::npos);
}

TEST(FullDisk, DeletionLogLargerThanTheDiskLeavesTheOldListToo) {
  Scratch dir;
  write_star(dir);
  // Threshold 1 mA: every line is rejected; the list is empty and would fit,
  // the log does not. The list must not be replaced without its log.
  const RunOutcome outcome = run_ironsift_update(dir, "1", 8000);
  expect_write_report(outcome, "HD.del");
  EXPECT_EQ(read_file(dir / "HD.obs"), kOldList);
  EXPECT_EQ(read_file(dir / "HD.del"), kOldLog);
  EXPECT_EQ(list_dir(dir.path()), (std::vector<std::string>{"HD.del", "HD.obs", "HD.wdt", "params.dat"}));
}

TEST(FullDisk, TheSameUpdateWithRoomSucceeds) {
  // The control of the two cases above: the limit is what made them fail.
  Scratch dir;
  write_star(dir);
  const RunOutcome outcome = run_ironsift_update(dir, "1", 1 << 20);
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(read_file(dir / "HD.obs"), "");
  EXPECT_GT(read_file(dir / "HD.del")->size(), 8000u);
}

TEST(FullDisk, InteractiveUpdateWithALogLargerThanTheDiskLeavesBothOldFiles) {
  // Mode "w" on the null graphics device: the plot returns at once (no
  // cursor) and "g" updates. The log is extended, so its old records are
  // copied first; they alone exceed the limit, the new list would fit.
  Scratch dir;
  write_file(dir / "params.dat", params_text());
  std::string abd;
  for (int line = 1; line <= 40; ++line) abd += abd_record(line, "26.00", 20.0 + line, 7.5);
  write_file(dir / "HD.abd", abd);
  write_file(dir / "HD.obs", kOldList);
  std::string big_log;
  while (big_log.size() < 20000) big_log += kOldLog;
  write_file(dir / "HD.del", big_log);
  RunSetup run;
  run.program = ironsift_path();
  run.args = {"HD", "w"};
  run.dir = dir.path();
  run.input = "g\n";
  // The graphics library's own allocations at exit are not this program's.
  run.env = {{"MOD_DIR", std::nullopt}, {"PGPLOT_DEV", "/null"}, {"ASAN_OPTIONS", "detect_leaks=0"}};
  run.file_size_limit = 10000;
  const RunOutcome outcome = run_program(run);
  expect_write_report(outcome, "HD.del");
  EXPECT_EQ(read_file(dir / "HD.obs"), kOldList);
  EXPECT_EQ(read_file(dir / "HD.del"), big_log);
  EXPECT_EQ(list_dir(dir.path()), (std::vector<std::string>{"HD.abd", "HD.del", "HD.obs", "params.dat"}));
}

TEST(FullDisk, StandardOutputOnAFullDeviceEndsTheRunBeforeAnyFileIsWritten) {
  Scratch dir;
  write_star(dir);
  RunSetup run = threshold_update_run(dir.path(), "");
  run.stdout_to_dev_full = true;
  const RunOutcome outcome = run_program(run);
  expect_write_report(outcome, "standard output");
  EXPECT_EQ(read_file(dir / "HD.obs"), kOldList);
  EXPECT_EQ(read_file(dir / "HD.del"), kOldLog);
}

// wavepick with n candidate lines in its gf file and a "width" that moves a
// prepared result file of n records into place.
struct WavepickSetup {
  Scratch dir;
  std::string bin;
  explicit WavepickSetup(int n) {
    std::filesystem::create_directories(dir / "velko/kbgfdos");
    write_file(dir / "velko/kbgfdos/GF0500.10", gf_text(n));
    write_file(dir / "model.dat", model_text());
    write_file(dir / "ready.csv", results_text(n));
    write_file(dir / "lines.tmp", "old lines\n");
    write_file(dir / "winput.in", "old input\n");
    write_file(dir / "picked.out", "old result\n");
    bin = install_moving_width(dir.path());
  }
  RunOutcome run_with_limit(long limit, bool stdout_to_dev_full = false) const {
    RunSetup run;
    run.stdout_to_dev_full = stdout_to_dev_full;
    run.program = wavepick_path();
    run.args = {"4900", "5000", "26.00", "model.dat", "1.5", "7.5", "10.0", "picked.out"};
    run.dir = dir.path();
    run.env = {{"VELKO", dir / "velko"}, {"PATH", bin + ":/usr/bin:/bin"}};
    run.file_size_limit = limit;
    return run_program(run);
  }
};

TEST(FullDisk, ConsoleLostOnlyAtTheNormalEndIsNotASuccess) {
  // Two lines: the whole console output fits in the stream's buffer, so the
  // failure shows only when the buffer is flushed as the program ends.
  WavepickSetup setup(2);
  const RunOutcome outcome = setup.run_with_limit(-1, /*stdout_to_dev_full=*/true);
  expect_write_report(outcome, "standard output");
}

TEST(FullDisk, WavepickFilesLargerThanTheDiskKeepTheirOldContents) {
  // 300 lines: "lines.tmp" about 16 kB, "winput.in" about 24 kB, the result
  // file about 30 kB. Each limit lets the files before the named one through.
  struct Case {
    long limit;
    std::string failing;
    std::vector<std::string> replaced;  // files written before the failure
  };
  const std::vector<Case> cases = {
      {8000, "lines.tmp", {}},
      {20000, "winput.in", {"lines.tmp"}},
      {27000, "picked.out", {"lines.tmp", "winput.in"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failing);
    WavepickSetup setup(300);
    const RunOutcome outcome = setup.run_with_limit(c.limit);
    expect_write_report(outcome, c.failing);
    const std::vector<std::pair<std::string, std::string>> old = {
        {"lines.tmp", "old lines\n"}, {"winput.in", "old input\n"}, {"picked.out", "old result\n"}};
    for (const auto& [name, content] : old) {
      const bool replaced =
          std::find(c.replaced.begin(), c.replaced.end(), name) != c.replaced.end();
      if (replaced) {
        EXPECT_NE(read_file(setup.dir / name), content) << name;
      } else {
        EXPECT_EQ(read_file(setup.dir / name), content) << name;
      }
    }
    for (const std::string& name : list_dir(setup.dir.path())) {
      EXPECT_EQ(name.find(".tmp."), std::string::npos) << name;  // no temporary left
      EXPECT_EQ(name.find(".in."), std::string::npos) << name;
      EXPECT_EQ(name.find(".out."), std::string::npos) << name;
    }
  }
}

TEST(FullDisk, WavepickWithRoomSelectsEveryLine) {
  WavepickSetup setup(300);
  const RunOutcome outcome = setup.run_with_limit(1 << 20);
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_NE(outcome.out.find("nselect = 300"), std::string::npos) << outcome.out;
  EXPECT_EQ(read_file(setup.dir / "picked.out")->size(), 300u * 101u);
}

}  // namespace
}  // namespace faults

// A run ended by a signal at any moment of the update: the observed line list
// is the old one or the complete new one, never a part, and the deletion log
// likewise; and a new list never stands beside an old log (the rejected
// lines would then be in neither file).
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "fault_run.h"
#include "fixtures.h"

namespace faults {
namespace {

const std::string kOldList = "old observed list\n";
const std::string kOldLog = "old deletion log\n";

void write_star(const std::string& dir) {
  write_file(dir + "/params.dat", params_text());
  // 330 lines of ten measurements: records with continuations, about 60 kB.
  write_file(dir + "/HD.wdt", wdt_text(330, 10));
  write_file(dir + "/HD.obs", kOldList);
  write_file(dir + "/HD.del", kOldLog);
}

RunSetup update_run(const std::string& dir) {
  return threshold_update_run(dir, "150");  // lines 140 and above are rejected
}

void kill_during_updates(int signal, bool temporaries_removed) {
  // The complete new files, and how long an uninterrupted run takes.
  Scratch reference;
  write_star(reference.path());
  const auto start = std::chrono::steady_clock::now();
  const RunOutcome full = run_program(update_run(reference.path()));
  const auto duration = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - start);
  ASSERT_EQ(full.status, 0) << full.err;
  const std::string new_list = *read_file(reference / "HD.obs");
  const std::string new_log = *read_file(reference / "HD.del");
  ASSERT_NE(new_list, kOldList);
  ASSERT_NE(new_log, kOldLog);

  std::mt19937 random(12345);
  std::uniform_int_distribution<long> delay(0, duration.count() * 6 / 5);
  int old_files = 0, new_files = 0, new_log_only = 0;
  constexpr int kRuns = 40;
  for (int i = 0; i < kRuns; ++i) {
    Scratch dir;
    write_star(dir.path());
    const RunOutcome outcome =
        run_and_signal(update_run(dir.path()), std::chrono::microseconds(delay(random)), signal);
    const std::string list = read_file(dir / "HD.obs").value_or("<missing>");
    const std::string log = read_file(dir / "HD.del").value_or("<missing>");
    ASSERT_TRUE(list == kOldList || list == new_list) << "run " << i << ": a partial list";
    ASSERT_TRUE(log == kOldLog || log == new_log) << "run " << i << ": a partial log";
    ASSERT_FALSE(list == new_list && log == kOldLog) << "run " << i << ": new list, old log";
    if (list == kOldList && log == kOldLog) ++old_files;
    else if (list == new_list) ++new_files;
    else ++new_log_only;
    if (temporaries_removed) {
      for (const std::string& name : list_dir(dir.path())) {
        EXPECT_TRUE(name == "HD.obs" || name == "HD.del" || name == "HD.wdt" ||
                    name == "params.dat")
            << "run " << i << " left " << name;
      }
    }
    (void)outcome;
  }
  std::printf("%d runs ended by signal %d: %d left the old files, %d the new ones, "
              "%d the new log beside the old list (full run: %ld us)\n",
              kRuns, signal, old_files, new_files, new_log_only,
              static_cast<long>(duration.count()));
}

// A signal or a failure at a known moment of the update: strace stops the
// program at the first or second exchange of a target with its new file
// (renameat2, the step that puts a file in place) and delivers a signal
// there, or makes that exchange fail, without touching the program. The
// last cases take the exchange and hard links away, as on vfat: the old file
// is moved aside and the new one renamed in its place.
struct KnownMoment {
  const char* what;
  std::vector<std::string> inject;  // strace's injections
  bool list_new, log_new;   // the files afterwards
  int status, signal;       // how the run ended
  bool temporaries_removed;
  const char* report;       // a text the report must hold, or ""
};

TEST(InterruptedUpdate, AtKnownMomentsTheFilesAreAsTheRulesSay) {
  if (std::system("command -v strace >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
  Scratch reference;
  write_star(reference.path());
  ASSERT_EQ(run_program(update_run(reference.path())).status, 0);
  const std::string new_list = *read_file(reference / "HD.obs");
  const std::string new_log = *read_file(reference / "HD.del");

  const KnownMoment moments[] = {
      // The first exchange never happens: both files are the old ones.
      {"killed before the first exchange", {"renameat2:error=EIO:signal=SIGKILL:when=1"},
       false, false, -1, SIGKILL, false, ""},
      // SIGKILL cannot be held: killed between the two exchanges, the new
      // log stands beside the old list (no rejected line is lost; the log is
      // put in place first for that reason).
      {"killed between the exchanges", {"renameat2:error=EIO:signal=SIGKILL:when=2"},
       false, true, -1, SIGKILL, false, ""},
      // A signal that ends the run there takes effect once both files are in
      // place, after removing what the run left.
      {"terminated at the second exchange", {"renameat2:signal=SIGTERM:when=2"},
       true, true, -1, SIGTERM, true, ""},
      {"interrupted at the second exchange", {"renameat2:signal=SIGINT:when=2"},
       true, true, -1, SIGINT, true, ""},
      // The second exchange fails: the first is undone, nothing changes.
      {"second exchange fails", {"renameat2:error=ENOSPC:when=2"},
       false, false, 2, 0, true, "nothing was changed"},
      {"no exchange: both put in place", {"renameat2:error=EINVAL"}, true, true, 0, 0, true, ""},
      {"no exchange: the list cannot take its place",
       {"renameat2:error=EINVAL", "rename:error=EIO:when=2"},
       false, false, 2, 0, true, "nothing was changed"},
      {"no exchange, no links: both put in place",
       {"renameat2:error=EINVAL", "link:error=EPERM"}, true, true, 0, 0, true, ""},
      {"no exchange, no links: the log cannot take its place",
       {"renameat2:error=EINVAL", "link:error=EPERM", "rename:error=EIO:when=2"},
       false, false, 2, 0, true, "nothing was changed"},
      {"no exchange, no links: the list cannot take its place",
       {"renameat2:error=EINVAL", "link:error=EPERM", "rename:error=EIO:when=4"},
       false, false, 2, 0, true, "nothing was changed"},
  };
  for (const KnownMoment& m : moments) {
    SCOPED_TRACE(m.what);
    Scratch dir;
    write_star(dir.path());
    RunSetup run = update_run(dir.path());
    run.args.insert(run.args.begin(), run.program);
    std::vector<std::string> tracing = {"-o", "/dev/null", "-e", "trace=renameat2,rename,link"};
    for (const std::string& injection : m.inject) {
      tracing.push_back("-e");
      tracing.push_back("inject=" + injection);
    }
    run.args.insert(run.args.begin(), tracing.begin(), tracing.end());
    run.program = "/usr/bin/strace";
    // The leak checker of a sanitizer build cannot work under a tracer.
    run.env["ASAN_OPTIONS"] = "detect_leaks=0";
    const RunOutcome outcome = run_program(run);
    EXPECT_EQ(outcome.status, m.status) << outcome.err;
    EXPECT_EQ(outcome.signal, m.signal) << outcome.err;
    EXPECT_EQ(read_file(dir / "HD.obs").value_or("<missing>"), m.list_new ? new_list : kOldList);
    EXPECT_EQ(read_file(dir / "HD.del").value_or("<missing>"), m.log_new ? new_log : kOldLog);
    if (*m.report) {
      EXPECT_NE(outcome.err.find(m.report), std::string::npos) << outcome.err;
    }
    if (m.temporaries_removed) {
      for (const std::string& name : list_dir(dir.path())) {
        EXPECT_TRUE(name == "HD.obs" || name == "HD.del" || name == "HD.wdt" || name == "params.dat")
            << "left " << name;
      }
    }
  }
}

TEST(InterruptedUpdate, KilledAtAnyMomentLeavesOldOrCompleteFiles) {
  // SIGKILL cannot be caught: a temporary file may be left beside the
  // targets, but the targets themselves are whole.
  kill_during_updates(SIGKILL, false);
}

TEST(InterruptedUpdate, TerminatedAtAnyMomentAlsoRemovesTheTemporaryFiles) {
  kill_during_updates(SIGTERM, true);
}

}  // namespace
}  // namespace faults

// The shared program runner: what a program is given (arguments, directory,
// standard input, environment) and what the test gets back, the injected
// faults, and the reports when a program cannot be started as set up.
#include "program_run.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "scratch_dir.h"
#include "test_files.h"

namespace test_support {
namespace {

// A run of the shell with this script; "$1" is "first arg".
RunSetup shell(const std::string& script, const std::string& dir) {
  RunSetup run;
  run.program = "/bin/sh";
  run.args = {"-c", script, "sh", "first arg"};
  run.dir = dir;
  return run;
}

TEST(ProgramRun, GivesArgumentsDirectoryAndInputAndReturnsOutputsAndStatus) {
  ScratchDir dir;
  RunSetup run = shell("pwd; cat; printf '%s|' \"$1\" >&2; exit 3", dir.path());
  run.input = "line 1\nno line end";
  const RunOutcome outcome = run_program(run);
  EXPECT_EQ(outcome.status, 3);
  EXPECT_EQ(outcome.signal, 0);
  EXPECT_EQ(outcome.out, dir.path() + "\nline 1\nno line end");
  EXPECT_EQ(outcome.err, "first arg|");
  // Nothing of the run is left in the working directory.
  EXPECT_TRUE(test_files::list_dir(dir.path()).empty());
}

TEST(ProgramRun, SetsAndUnsetsVariablesAndKeepsTheOthers) {
  ScratchDir dir;
  ::setenv("PROGRAM_RUN_TEST_KEPT", "kept", 1);
  ::setenv("PROGRAM_RUN_TEST_UNSET", "present", 1);
  RunSetup run = shell(
      "echo \"${PROGRAM_RUN_TEST_KEPT-none} ${PROGRAM_RUN_TEST_UNSET-none} "
      "${PROGRAM_RUN_TEST_SET-none}\"",
      dir.path());
  run.env = {{"PROGRAM_RUN_TEST_UNSET", std::nullopt}, {"PROGRAM_RUN_TEST_SET", "a b=c"}};
  const RunOutcome outcome = run_program(run);
  ::unsetenv("PROGRAM_RUN_TEST_KEPT");
  ::unsetenv("PROGRAM_RUN_TEST_UNSET");
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.out, "kept none a b=c\n");
}

TEST(ProgramRun, FileSizeLimitFailsTheWriteWithoutASignal) {
  ScratchDir dir;
  RunSetup run = shell("printf 0123456789ABCDEF > f; echo status $?", dir.path());
  run.file_size_limit = 10;
  const RunOutcome outcome = run_program(run);
  EXPECT_EQ(outcome.signal, 0);
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.out.rfind("status ", 0), 0u) << outcome.out;
  EXPECT_NE(outcome.out, "status 0\n");
  EXPECT_EQ(test_files::read_file(dir / "f"), "0123456789");
}

TEST(ProgramRun, StandardOutputToDevFullFailsEveryWrite) {
  ScratchDir dir;
  RunSetup run = shell("echo x", dir.path());
  run.stdout_to_dev_full = true;
  const RunOutcome outcome = run_program(run);
  EXPECT_NE(outcome.status, 0);
  EXPECT_EQ(outcome.out, "");
  EXPECT_NE(outcome.err, "");
}

TEST(ProgramRun, AsOtherUserRunsAsNobody) {
  std::string reason;
  if (::geteuid() != 0 || !can_run_as_other_user({"/bin/sh"}, reason)) {
    GTEST_SKIP() << (reason.empty() ? "not running as root" : reason);
  }
  ScratchDir dir;
  RunSetup run = shell("id -u; : > mine", dir.path());
  run.as_other_user = true;
  const RunOutcome outcome = run_program(run);
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.out, "65534\n");
  EXPECT_TRUE(test_files::read_file(dir / "mine"));  // the directory is open to that user
}

TEST(ProgramRun, SignalAfterTheDelayEndsTheProgram) {
  ScratchDir dir;
  const RunOutcome outcome =
      run_and_signal(shell("exec sleep 30", dir.path()), std::chrono::milliseconds(100), SIGTERM);
  EXPECT_EQ(outcome.signal, SIGTERM);
  EXPECT_EQ(outcome.status, -1);
}

TEST(ProgramRun, ReportsWhatStoppedTheStart) {
  ScratchDir dir;
  RunOutcome outcome = run_program(shell("exit 0", dir / "missing"));
  EXPECT_EQ(outcome.status, 125);
  EXPECT_NE(outcome.err.find(dir / "missing"), std::string::npos) << outcome.err;

  RunSetup run = shell("exit 0", dir.path());
  run.program = dir / "no-such-program";
  outcome = run_program(run);
  EXPECT_EQ(outcome.status, 127);
  EXPECT_NE(outcome.err.find(dir / "no-such-program"), std::string::npos) << outcome.err;
}

}  // namespace
}  // namespace test_support

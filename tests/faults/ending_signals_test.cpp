// Signals whose default action ends the process: each one that lands while an
// update has its temporary files open ends the program as that signal would,
// with the temporary files removed and the old files kept; at the key
// question on a terminal the terminal is restored; after a stop and a
// continue the question is in raw mode again.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "fault_run.h"
#include "fixtures.h"

namespace faults {
namespace {

namespace fs = std::filesystem;

const std::string kOldList = "old observed list\n";

// A star whose log is a FIFO without a reader: the update makes the list's
// temporary file, then waits to open the log. A signal sent then lands while
// the temporary file exists.
void write_star_with_blocking_log(const Scratch& dir) {
  write_file(dir / "params.dat", params_text());
  write_file(dir / "HD.wdt", wdt_text(20, 2));
  write_file(dir / "HD.obs", kOldList);
  ASSERT_EQ(::mkfifo((dir / "HD.del").c_str(), 0666), 0);
}

TEST(EndingSignals, EachRemovesTheTemporaryFilesAndEndsTheProgramAsItWould) {
  const std::vector<int> signals = {SIGTERM, SIGPIPE, SIGUSR1, SIGUSR2, SIGALRM,
                                    SIGXFSZ, SIGVTALRM, SIGPROF, SIGRTMIN};
  for (const int signal_number : signals) {
    SCOPED_TRACE(strsignal(signal_number));
    Scratch dir;
    write_star_with_blocking_log(dir);
    const RunSetup run = threshold_update_run(dir.path(), "20");
    const RunOutcome outcome = run_and_signal(run, std::chrono::milliseconds(700), signal_number);
    EXPECT_EQ(outcome.signal, signal_number) << "status " << outcome.status << "\n" << outcome.err;
    EXPECT_EQ(list_dir(dir.path()), (std::vector<std::string>{"HD.del", "HD.obs", "HD.wdt", "params.dat"}));
    EXPECT_EQ(read_file(dir / "HD.obs"), kOldList);
  }
}

TEST(EndingSignals, AFileSizeLimitEndsTheRunWithoutDebris) {
  // A real "ulimit -f": the write past the limit raises SIGXFSZ, whose
  // default action ends the program.
  Scratch dir;
  write_file(dir / "params.dat", params_text());
  write_file(dir / "HD.wdt", wdt_text(330, 3));
  write_file(dir / "HD.obs", kOldList);
  RunSetup run;
  run.program = "/bin/sh";
  run.args = {"-c", "ulimit -f 8 && exec \"$0\" HD i", ironsift_path()};
  run.dir = dir.path();
  run.input = "\ng\n";
  run.env = {{"MOD_DIR", std::nullopt}};
  const RunOutcome outcome = run_program(run);
  EXPECT_EQ(outcome.signal, SIGXFSZ) << "status " << outcome.status << "\n" << outcome.err;
  EXPECT_EQ(list_dir(dir.path()), (std::vector<std::string>{"HD.obs", "HD.wdt", "params.dat"}));
  EXPECT_EQ(read_file(dir / "HD.obs"), kOldList);
}

TEST(EndingSignals, APassedOnSignalEndsTheProgramBeingRun) {
  // wavepick ended while "width" runs: "width" is ended too, and waited for,
  // so that it cannot write into the directory after the run.
  Scratch dir;
  std::filesystem::create_directories(dir / "velko/kbgfdos");
  write_file(dir / "velko/kbgfdos/GF0500.10", gf_text(5));
  write_file(dir / "model.dat", model_text());
  std::filesystem::create_directories(dir / "bin");
  write_file(dir / "bin/width", "#!/bin/sh\necho $$ > width.pid\nexec sleep 30\n");
  ::chmod((dir / "bin/width").c_str(), 0755);
  RunSetup run;
  run.program = wavepick_path();
  run.args = {"4900", "5000", "26.00", "model.dat", "1.5", "7.5", "10.0", "picked.out"};
  run.dir = dir.path();
  run.env = {{"VELKO", dir / "velko"}, {"PATH", (dir / "bin") + ":/usr/bin:/bin"}};
  const auto start = std::chrono::steady_clock::now();
  const RunOutcome outcome = run_and_signal(run, std::chrono::milliseconds(700), SIGTERM);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  EXPECT_EQ(outcome.signal, SIGTERM) << outcome.err;
  const std::optional<std::string> pid_text = read_file(dir / "width.pid");
  ASSERT_TRUE(pid_text.has_value()) << "width was not started";
  const pid_t width_pid = std::stoi(*pid_text);
  const bool gone = ::kill(width_pid, 0) != 0 && errno == ESRCH;
  if (!gone) ::kill(width_pid, SIGKILL);
  EXPECT_TRUE(gone) << "width (pid " << width_pid << ") outlived wavepick";
}

// The key question on a real terminal.
class KeyQuestionOnATerminal : public ::testing::Test {
 protected:
  void SetUp() override {
    write_file(dir_ / "params.dat", params_text());
    write_file(dir_ / "HD.wdt", wdt_text(20, 2));
    pid_ = ::forkpty(&master_, nullptr, nullptr, nullptr);
    ASSERT_GE(pid_, 0);
    if (pid_ == 0) {
      if (::chdir(dir_.path().c_str()) != 0) ::_exit(127);
      ::unsetenv("MOD_DIR");
      const std::string program = ironsift_path();
      ::execl(program.c_str(), program.c_str(), "HD", "i", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    slave_ = ::open(::ptsname(master_), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave_, 0);
    ASSERT_EQ(::tcgetattr(slave_, &before_), 0);
    ASSERT_TRUE(read_until("ewcrt?")) << out_;
    ASSERT_EQ(::write(master_, "\n", 1), 1);
    ASSERT_TRUE(read_until("stop-> \"x\"")) << out_;
    ASSERT_TRUE(wait_for_raw(true));
  }
  void TearDown() override {
    if (pid_ > 0 && ::kill(pid_, 0) == 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
  }

  bool read_until(const std::string& needle) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (out_.find(needle) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
      pollfd pfd{master_, POLLIN, 0};
      if (::poll(&pfd, 1, 100) <= 0) continue;
      char buffer[256];
      const ssize_t got = ::read(master_, buffer, sizeof buffer);
      if (got <= 0) break;
      out_.append(buffer, static_cast<std::size_t>(got));
    }
    return out_.find(needle) != std::string::npos;
  }
  bool wait_for_raw(bool raw) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    termios mode{};
    while (std::chrono::steady_clock::now() < deadline) {
      if (::tcgetattr(slave_, &mode) == 0 && ((mode.c_lflag & (ICANON | ECHO)) == 0) == raw) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

  Scratch dir_;
  pid_t pid_ = -1;
  int master_ = -1;
  int slave_ = -1;
  termios before_{};
  std::string out_;
};

TEST_F(KeyQuestionOnATerminal, AnEndingSignalRestoresTheTerminal) {
  for (const int signal_number : {SIGUSR1}) {
    ::kill(pid_, signal_number);
    int status = 0;
    ASSERT_EQ(::waitpid(pid_, &status, 0), pid_);
    pid_ = -1;
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number);
    termios after{};
    ASSERT_EQ(::tcgetattr(slave_, &after), 0);
    EXPECT_EQ(after.c_lflag, before_.c_lflag);
  }
}

TEST_F(KeyQuestionOnATerminal, AfterAStopAndContinueTheKeyIsTakenInRawModeAgain) {
  ASSERT_EQ(::kill(pid_, SIGSTOP), 0);
  int status = 0;
  ASSERT_EQ(::waitpid(pid_, &status, WUNTRACED), pid_);
  ASSERT_TRUE(WIFSTOPPED(status));
  // As a shell does when it takes the terminal back: its own (cooked) mode.
  ASSERT_EQ(::tcsetattr(slave_, TCSANOW, &before_), 0);
  ASSERT_EQ(::kill(pid_, SIGCONT), 0);
  EXPECT_TRUE(wait_for_raw(true)) << "the terminal stayed in line mode after SIGCONT";
  // One key, no Enter, ends the question.
  ASSERT_EQ(::write(master_, "x", 1), 1);
  ASSERT_TRUE(read_until("Aborted and stopted!")) << out_;
  ASSERT_EQ(::waitpid(pid_, &status, 0), pid_);
  pid_ = -1;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace faults

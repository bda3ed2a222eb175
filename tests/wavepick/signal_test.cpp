// A signal that ends wavepick while "width" runs is passed on to "width",
// which is waited for: nothing is left running that writes into the
// directory later, and the result file of the run before stays as it was.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "wavepick_run.h"

namespace wavepick_test {
namespace {

namespace fs = std::filesystem;

// The process id written to path, once it is there (0 after timeout).
pid_t wait_for_pid_file(const fs::path& path, std::chrono::seconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    std::ifstream in(path);
    long pid = 0;
    if (in >> pid && pid > 0) return static_cast<pid_t>(pid);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return 0;
}

// True while the process runs (a zombie left for init counts as ended).
bool running(pid_t pid) {
  if (::kill(pid, 0) != 0) return errno != ESRCH;
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  const std::size_t close = line.rfind(')');
  return close == std::string::npos || line.substr(close + 2, 1) != "Z";
}

TEST_F(WavepickRun, SignalWhileWidthRunsEndsWidthToo) {
  write_gf("GF0510.10", {gf_record(501.0, 1.0, "26.00", 0, 100)});
  write_work_file("plain.mod", "TEFF   5750.  GRAVITY 4.44000 LTE\n");
  write_work_file("out.sel", "selection of an earlier run\n");
  const fs::path pid_file = root_ / "width.pid";
  environment_["VELKO_STANDIN_SLEEP"] = "30";
  environment_["VELKO_STANDIN_PID_FILE"] = pid_file.string();
  // The last case stops width first (kill -STOP, a debugger, a batch
  // system's suspend): a stopped program cannot act on the signal passed on,
  // so it must be continued too, or wavepick would wait for it forever.
  struct Case {
    int signal_number;
    bool width_stopped;
  };
  for (const Case c : {Case{SIGTERM, false}, Case{SIGINT, false}, Case{SIGHUP, false},
                       Case{SIGUSR1, false}, Case{SIGTERM, true}}) {
    const int signal_number = c.signal_number;
    SCOPED_TRACE(std::string(strsignal(signal_number)) + (c.width_stopped ? ", width stopped" : ""));
    fs::remove(pid_file);
    const StartedRun started =
        start({"5000.5", "5099", "26", "plain.mod", "1", "7.5", "0", "out.sel"});
    const pid_t width = wait_for_pid_file(pid_file, std::chrono::seconds(20));
    ASSERT_GT(width, 0) << "width never started";
    if (c.width_stopped) {
      ASSERT_EQ(::kill(width, SIGSTOP), 0);
    }
    ASSERT_EQ(::kill(started.pid, signal_number), 0);
    const auto sent = std::chrono::steady_clock::now();
    // Should the program wait for the stopped width after all, the test
    // continues it after 15 s, so that a fault shows as a failure, not a hang.
    std::atomic<bool> done{false};
    std::thread watchdog([&] {
      for (int i = 0; i < 150 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
      if (!done && c.width_stopped) ::kill(width, SIGCONT);
    });
    const RunOutput output = finish(started);
    done = true;
    watchdog.join();
    EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::seconds(10));
    EXPECT_EQ(output.status, 128 + signal_number) << output.err;
    const bool left_running = running(width);
    EXPECT_FALSE(left_running);
    if (left_running) ::kill(width, SIGKILL);  // the stand-in of this test, by its id
    EXPECT_FALSE(work_file_exists("ewtemp.csv"));
    EXPECT_EQ(read_work_file("out.sel"), "selection of an earlier run\n");
  }
}

}  // namespace
}  // namespace wavepick_test

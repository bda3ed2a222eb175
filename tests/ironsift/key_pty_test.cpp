// The update question on a real terminal: the key is taken without Enter and
// without echo, and the terminal's mode is the same after the run as before.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "run_support.h"

namespace ironsift_test {
namespace {

const std::string kIronsift = IRONSIFT_PATH;
constexpr int kTimeoutMs = 10000;

// Reads from fd into out until out holds needle after position from, the
// other side is closed, or the time is up. True when the needle was seen.
bool read_until(int fd, std::string& out, const std::string& needle, std::size_t from = 0) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
  while (out.find(needle, from) == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd pfd{fd, POLLIN, 0};
    if (::poll(&pfd, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[256];
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got <= 0) return out.find(needle, from) != std::string::npos;
    out.append(buffer, static_cast<std::size_t>(got));
  }
  return true;
}

// Waits until the terminal's local modes satisfy want, or the time is up.
bool wait_for_mode(int slave, bool (*want)(const termios&)) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
  termios mode{};
  while (std::chrono::steady_clock::now() < deadline) {
    if (::tcgetattr(slave, &mode) == 0 && want(mode)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

TEST(KeyOnTerminal, TakenWithoutEnterNotEchoedAndTerminalRestored) {
  ScratchDir dir;
  write_file(dir.file("params.dat"), params_text({{101, 5000.0}}));
  write_file(dir.file("HD123.wdt"), wdt_record("26.00", " 5000.000", "   40.0", "S01"));

  int master = -1;
  const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (::chdir(dir.path().c_str()) != 0) ::_exit(127);
    ::unsetenv("MOD_DIR");
    ::execl(kIronsift.c_str(), kIronsift.c_str(), "HD123", "i", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // However the test ends, the program does not outlive it.
  struct ChildGuard {
    pid_t pid;
    ~ChildGuard() {
      if (::kill(pid, 0) == 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
      }
    }
  } guard{pid};
  // A second handle on the terminal, to look at its mode while and after the
  // program runs.
  const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
  ASSERT_GE(slave, 0);
  termios before{};
  ASSERT_EQ(::tcgetattr(slave, &before), 0);
  ASSERT_TRUE(before.c_lflag & ICANON);
  ASSERT_TRUE(before.c_lflag & ECHO);

  std::string out;
  ASSERT_TRUE(read_until(master, out, "ewcrt?")) << out;
  ASSERT_EQ(::write(master, "\n", 1), 1);  // the threshold: infinity
  const std::string prompt = "stop-> \"x\"\r\n";
  ASSERT_TRUE(read_until(master, out, prompt)) << out;
  const std::size_t first_prompt_end = out.find(prompt) + prompt.size();

  // While the question waits, the terminal is in raw mode without echo.
  EXPECT_TRUE(wait_for_mode(slave, [](const termios& mode) {
    return (mode.c_lflag & (ICANON | ECHO)) == 0;
  }));

  // A key that is not an answer, without Enter: the prompt comes again, and
  // the key itself is not shown.
  ASSERT_EQ(::write(master, "q", 1), 1);
  ASSERT_TRUE(read_until(master, out, prompt, first_prompt_end)) << out;
  const std::size_t second_prompt_end = out.find(prompt, first_prompt_end) + prompt.size();
  EXPECT_EQ(out.substr(first_prompt_end, second_prompt_end - first_prompt_end),
            "go->\"g\", retry other ewcrt ->\"r\", " + prompt);

  EXPECT_TRUE(wait_for_mode(slave, [](const termios& mode) {
    return (mode.c_lflag & (ICANON | ECHO)) == 0;
  }));
  ASSERT_EQ(::write(master, "x", 1), 1);
  read_until(master, out, "Aborted and stopted!\r\n", second_prompt_end);
  EXPECT_EQ(out.substr(second_prompt_end), " Aborted and stopted!\r\n");

  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);

  termios after{};
  ASSERT_EQ(::tcgetattr(slave, &after), 0);
  EXPECT_EQ(after.c_lflag, before.c_lflag);
  EXPECT_EQ(after.c_iflag, before.c_iflag);
  EXPECT_EQ(after.c_cc[VMIN], before.c_cc[VMIN]);
  ::close(slave);
  ::close(master);
  EXPECT_EQ(read_file(dir.file("HD123.obs")), std::nullopt);
}

}  // namespace
}  // namespace ironsift_test

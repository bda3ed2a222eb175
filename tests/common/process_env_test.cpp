#include "process_env.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace velko {
namespace {

TEST(ProcessEnv, ArgumentsArriveAsFixedTexts) {
  std::string long_arg(90, 'a');
  char prog[] = "prog";
  char first[] = "HD123/SUN";
  std::vector<char*> argv = {prog, first, long_arg.data(), nullptr};
  set_arguments(3, argv.data());
  EXPECT_EQ(argument_text(1), "HD123/SUN" + std::string(71, ' '));
  EXPECT_EQ(argument_text(2), std::string(80, 'a'));
  EXPECT_EQ(argument_text(3), std::string(80, ' '));
  EXPECT_EQ(argument_text(1, 5), "HD123");
  set_arguments(0, nullptr);
}

TEST(ProcessEnv, EnvironmentValues) {
  ::unsetenv("VELKO_TEST_UNSET");
  EXPECT_EQ(environment_text("VELKO_TEST_UNSET"), std::string(80, ' '));
  ::setenv("VELKO_TEST_SET", "/opt/suite", 1);
  EXPECT_EQ(environment_text("VELKO_TEST_SET", 12), "/opt/suite  ");
}

TEST(ProcessEnv, RunsProgramsWithAnArgumentVectorAndNoShell) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("run_program_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string out = (dir / "out file").string();
  // A blank and shell characters reach the program as they are.
  RunResult r = run_program("sh", {"-c", "printf '%s|' \"$@\" > \"$0\"", out, "a b", "$(x);"});
  ASSERT_TRUE(r.started);
  EXPECT_TRUE(r.exited);
  EXPECT_EQ(r.exit_status, 0);
  std::ifstream in(out);
  std::string got;
  std::getline(in, got);
  EXPECT_EQ(got, "a b|$(x);|");

  r = run_program("sh", {"-c", "exit 3"});
  EXPECT_TRUE(r.exited);
  EXPECT_EQ(r.exit_status, 3);
  r = run_program((dir / "no-such-program").string(), {});
  EXPECT_FALSE(r.started);
  EXPECT_NE(r.start_error, 0);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace velko

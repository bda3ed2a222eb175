// Files and directories that cannot be used: missing, read-only, denied, or a
// directory where a file is expected. Each ends the run with the record
// layer's report naming the file, status 2, no crash, and no file changed.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "fault_run.h"
#include "fixtures.h"

namespace faults {
namespace {

const std::string kOldList = "old observed list\n";

void write_star(const Scratch& dir) {
  write_file(dir / "params.dat", params_text());
  write_file(dir / "HD.wdt", wdt_text(20, 2));
  write_file(dir / "HD.obs", kOldList);
  write_file(dir / "SUN.abd", abd_record(1, "26.00", 40.0, 7.5));
}

RunOutcome run_ironsift(const Scratch& dir, const std::string& names, bool as_other_user) {
  RunSetup run;
  run.program = ironsift_path();
  run.args = {names, "i"};
  run.dir = dir.path();
  run.input = "\ng\n";
  run.env = {{"MOD_DIR", std::nullopt}};
  run.as_other_user = as_other_user;
  return run_program(run);
}

void expect_report(const RunOutcome& outcome, const std::string& message,
                   const std::string& file) {
  EXPECT_EQ(outcome.signal, 0) << outcome.err;
  EXPECT_EQ(outcome.status, 2) << outcome.err;
  EXPECT_NE(outcome.err.find(message), std::string::npos) << outcome.err;
  EXPECT_NE(outcome.err.find("file " + file), std::string::npos) << outcome.err;
  EXPECT_EQ(outcome.out.find("file update finished !"), std::string::npos) << outcome.out;
}

struct AccessCase {
  std::string name;
  std::string names;  // ironsift's first argument
  std::function<void(const Scratch&)> spoil;
  bool needs_other_user;
  std::string message;
  std::string file;
};

TEST(FileAccess, IronsiftReportsEachUnusableFile) {
  const auto make_dir = [](const std::string& name) {
    return [name](const Scratch& dir) {
      std::filesystem::remove(dir / name);
      std::filesystem::create_directory(dir / name);
    };
  };
  const auto deny = [](const std::string& name) {
    return [name](const Scratch& dir) { ::chmod((dir / name).c_str(), 0); };
  };
  const std::vector<AccessCase> cases = {
      {"params.dat is a directory", "HD", make_dir("params.dat"), false, "open failure",
       "./params.dat"},
      {".wdt is a directory", "HD", make_dir("HD.wdt"), false, "open failure", "HD.wdt"},
      {"reference .abd is a directory", "HD/SUN", make_dir("SUN.abd"), false, "open failure",
       "SUN.abd"},
      {".obs is a directory", "HD", make_dir("HD.obs"), false, "open failure", "HD.obs"},
      {".wdt cannot be read", "HD", deny("HD.wdt"), true, "permission to access file denied",
       "HD.wdt"},
      {"params.dat cannot be read", "HD", deny("params.dat"), true,
       "permission to access file denied", "./params.dat"},
      {"reference .abd cannot be read", "HD/SUN", deny("SUN.abd"), true,
       "permission to access file denied", "SUN.abd"},
      {"read-only directory", "HD",
       [](const Scratch& dir) { ::chmod(dir.path().c_str(), 0555); }, true,
       "permission to access file denied", "HD.obs"},
  };
  std::string reason;
  const bool can_deny = can_deny_access(reason);
  for (const AccessCase& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.needs_other_user && !can_deny) {
      std::printf("skipped \"%s\": %s\n", c.name.c_str(), reason.c_str());
      continue;
    }
    Scratch dir;
    write_star(dir);
    c.spoil(dir);
    const RunOutcome outcome = run_ironsift(dir, c.names, c.needs_other_user);
    expect_report(outcome, c.message, c.file);
    if (std::filesystem::is_regular_file(dir / "HD.obs")) {
      ::chmod(dir.path().c_str(), 0777);
      ::chmod((dir / "HD.obs").c_str(), 0644);
      EXPECT_EQ(read_file(dir / "HD.obs"), kOldList);
    }
  }
}

TEST(FileAccess, MissingParameterFileNamesThePathTried) {
  Scratch dir;
  RunSetup run;
  run.program = ironsift_path();
  run.args = {"HD", "i"};
  run.dir = dir.path();
  run.env = {{"MOD_DIR", dir / "no/such/dir"}};
  const RunOutcome outcome = run_program(run);
  expect_report(outcome, "end-of-file during read", dir / "no/such/dir/params.dat");
  EXPECT_TRUE(list_dir(dir.path()).empty());  // nothing created
}

struct WavepickAccessCase {
  std::string name;
  std::function<void(const Scratch&)> spoil;
  std::string velko;   // relative to the scratch directory
  std::string output;  // argument 8
  bool needs_other_user;
  std::string message;
  std::string file;
};

TEST(FileAccess, WavepickReportsEachUnusableFileOrDirectory) {
  const std::vector<WavepickAccessCase> cases = {
      {"line-list directory missing", [](const Scratch&) {}, "nowhere", "picked.out", false,
       "open failure", "nowhere/kbgfdos/GF0490.10"},
      {"lines.tmp is a directory",
       [](const Scratch& dir) { std::filesystem::create_directory(dir / "lines.tmp"); },
       "velko", "picked.out", false, "open failure", "lines.tmp"},
      {"result file in a missing directory", [](const Scratch&) {}, "velko", "nodir/picked.out",
       false, "open failure", "nodir/picked.out"},
      {"gf file cannot be read",
       [](const Scratch& dir) { ::chmod((dir / "velko/kbgfdos/GF0500.10").c_str(), 0); },
       "velko", "picked.out", true, "permission to access file denied", "GF0500.10"},
      {"read-only working directory",
       [](const Scratch& dir) { ::chmod(dir.path().c_str(), 0555); }, "velko", "picked.out",
       true, "permission to access file denied", "lines.tmp"},
  };
  std::string reason;
  const bool can_deny = can_deny_access(reason);
  for (const WavepickAccessCase& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.needs_other_user && !can_deny) {
      std::printf("skipped \"%s\": %s\n", c.name.c_str(), reason.c_str());
      continue;
    }
    Scratch dir;
    std::filesystem::create_directories(dir / "velko/kbgfdos");
    write_file(dir / "velko/kbgfdos/GF0500.10", gf_text(5));
    write_file(dir / "model.dat", model_text());
    write_file(dir / "ready.csv", results_text(5));
    const std::string bin = install_moving_width(dir.path());
    c.spoil(dir);
    RunSetup run;
    run.program = wavepick_path();
    run.args = {"4900", "5000", "26.00", "model.dat", "1.5", "7.5", "10.0", c.output};
    run.dir = dir.path();
    run.env = {{"VELKO", dir / c.velko}, {"PATH", bin + ":/usr/bin:/bin"}};
    run.as_other_user = c.needs_other_user;
    const RunOutcome outcome = run_program(run);
    EXPECT_EQ(outcome.signal, 0) << outcome.err;
    EXPECT_EQ(outcome.status, 2) << outcome.err;
    EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find(c.file), std::string::npos) << outcome.err;
  }
}

}  // namespace
}  // namespace faults

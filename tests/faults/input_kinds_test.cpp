// Inputs that are not regular files (a FIFO, a device) are refused at once
// with the open-failure report and a line saying what they are: nothing
// hangs on a FIFO or spins on /dev/zero. And a file of carriage returns
// without line feeds (old Mac line ends) is read as the records say, with a
// warning naming it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "fault_run.h"
#include "fixtures.h"

namespace faults {
namespace {

namespace fs = std::filesystem;

enum class Kind { Fifo, ZeroDevice };

// Puts a FIFO or a link to /dev/zero where the named input should be.
void replace_with(const std::string& path, Kind kind) {
  fs::remove(path);
  if (kind == Kind::Fifo) {
    ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0) << path;
  } else {
    fs::create_symlink("/dev/zero", path);
  }
}

std::string kind_line(Kind kind) { return kind == Kind::Fifo ? "is a FIFO" : "is a device"; }

// A program that hangs on its input must not hang the test: it is ended
// after a while (and then fails the test by its status).
RunSetup with_watchdog(RunSetup run) {
  run.args.insert(run.args.begin(), {"-s", "KILL", "20", run.program});
  run.program = "/usr/bin/timeout";
  return run;
}

struct InputCase {
  std::string name;
  std::string file;    // relative to the scratch directory
  Kind kind;
  std::string report;  // the report's first line, from "open failure"
};

void write_star(const Scratch& dir) {
  write_file(dir / "params.dat", params_text());
  write_file(dir / "HD.wdt", wdt_text(20, 2));
  write_file(dir / "SUN.abd", abd_record(1, "26.00", 40.0, 7.5));
}

TEST(InputKinds, IronsiftRefusesInputsThatAreNotRegularFiles) {
  const std::vector<InputCase> cases = {
      {"params.dat a FIFO", "params.dat", Kind::Fifo, "open failure, unit 10, file ./params.dat"},
      {".wdt a FIFO", "HD.wdt", Kind::Fifo, "open failure, unit 12, file HD.wdt"},
      {"reference .abd a FIFO", "SUN.abd", Kind::Fifo, "open failure, unit 11, file SUN.abd"},
      {".wdt is /dev/zero", "HD.wdt", Kind::ZeroDevice, "open failure, unit 12, file HD.wdt"},
  };
  for (const InputCase& c : cases) {
    SCOPED_TRACE(c.name);
    Scratch dir;
    write_star(dir);
    replace_with(dir / c.file, c.kind);
    RunSetup run;
    run.program = ironsift_path();
    run.args = {"HD/SUN", "i"};
    run.dir = dir.path();
    run.input = "20\ng\n";
    run.env = {{"MOD_DIR", std::nullopt}};
    const RunOutcome outcome = run_program(with_watchdog(run));
    EXPECT_EQ(outcome.status, 2) << outcome.err;
    EXPECT_NE(outcome.err.find(c.report + "\n  " + kind_line(c.kind) + "\n"), std::string::npos)
        << outcome.err;
    EXPECT_FALSE(fs::exists(dir / "HD.obs"));
  }
}

TEST(InputKinds, WavepickRefusesInputsThatAreNotRegularFiles) {
  const std::vector<InputCase> cases = {
      {"gf slice a FIFO", "velko/kbgfdos/GF0500.10", Kind::Fifo, "open failure, unit"},
      {"gf slice is /dev/zero", "velko/kbgfdos/GF0500.10", Kind::ZeroDevice, "open failure, unit"},
      {"model a FIFO", "model.dat", Kind::Fifo, "open failure, unit"},
      {"model is /dev/zero", "model.dat", Kind::ZeroDevice, "open failure, unit"},
  };
  for (const InputCase& c : cases) {
    SCOPED_TRACE(c.name);
    Scratch dir;
    fs::create_directories(dir / "velko/kbgfdos");
    write_file(dir / "velko/kbgfdos/GF0500.10", gf_text(5));
    write_file(dir / "model.dat", model_text());
    write_file(dir / "ready.csv", results_text(5));
    write_file(dir / "picked.out", "old result\n");
    const std::string bin = install_moving_width(dir.path());
    replace_with(dir / c.file, c.kind);
    RunSetup run;
    run.program = wavepick_path();
    run.args = {"4900", "5000", "26.00", "model.dat", "1.5", "7.5", "10.0", "picked.out"};
    run.dir = dir.path();
    run.env = {{"VELKO", dir / "velko"}, {"PATH", bin + ":/usr/bin:/bin"}};
    const RunOutcome outcome = run_program(with_watchdog(run));
    EXPECT_EQ(outcome.status, 2) << outcome.err;
    EXPECT_NE(outcome.err.find(c.report), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find(fs::path(c.file).filename().string() + "\n  " + kind_line(c.kind) + "\n"),
              std::string::npos)
        << outcome.err;
    EXPECT_EQ(read_file(dir / "picked.out"), "old result\n");
  }
}

TEST(InputKinds, CarriageReturnsWithoutLineFeedsAreNamedOnStandardError) {
  const auto cr_only = [](std::string text) {
    for (char& c : text)
      if (c == '\n') c = '\r';
    return text;
  };
  {
    SCOPED_TRACE("a gf slice with old Mac line ends");
    Scratch dir;
    fs::create_directories(dir / "velko/kbgfdos");
    write_file(dir / "velko/kbgfdos/GF0500.10", cr_only(gf_text(5)));
    write_file(dir / "model.dat", model_text());
    write_file(dir / "ready.csv", results_text(0));
    const std::string bin = install_moving_width(dir.path());
    RunSetup run;
    run.program = wavepick_path();
    run.args = {"4900", "5000", "26.00", "model.dat", "1.5", "7.5", "10.0", "picked.out"};
    run.dir = dir.path();
    run.env = {{"VELKO", dir / "velko"}, {"PATH", bin + ":/usr/bin:/bin"}};
    const RunOutcome outcome = run_program(run);
    EXPECT_NE(outcome.err.find("Warning: " + (dir / "velko") + "/kbgfdos/GF0500.10 holds carriage returns but no line feed"),
              std::string::npos)
        << outcome.err;
  }
  {
    SCOPED_TRACE("a reference .abd with old Mac line ends, and a control with CRLF");
    for (const bool mac : {true, false}) {
      Scratch dir;
      write_star(dir);
      std::string abd = abd_record(1, "26.00", 40.0, 7.5) + abd_record(2, "26.00", 41.0, 7.5);
      if (mac) {
        abd = cr_only(abd);
      } else {
        std::string crlf;
        for (char c : abd) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        abd = crlf;
      }
      write_file(dir / "SUN.abd", abd);
      RunSetup run;
      run.program = ironsift_path();
      run.args = {"HD/SUN", "i"};
      run.dir = dir.path();
      run.input = "20\nx\n";
      run.env = {{"MOD_DIR", std::nullopt}};
      const RunOutcome outcome = run_program(run);
      const bool warned = outcome.err.find("SUN.abd holds carriage returns but no line feed") != std::string::npos;
      EXPECT_EQ(warned, mac) << outcome.err;
    }
  }
}

}  // namespace
}  // namespace faults

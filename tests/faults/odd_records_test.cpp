// Records with NUL bytes, tabs, carriage returns without line feeds, very
// long lines, non-ASCII bytes and numbers too large for their variables: each
// has a defined outcome, either used as the record conventions say or ended
// with the record layer's report naming the file and the record.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "fault_run.h"
#include "fixtures.h"

namespace faults {
namespace {

using namespace std::string_literals;

struct OddCase {
  std::string name;
  std::string file;     // the file given the odd content
  std::string content;
  std::string names;    // ironsift's first argument
  int status;
  std::string err;      // expected in standard error ("" for nothing)
  std::string out;      // expected in standard output ("" for nothing)
  std::function<void(const Scratch&)> check;
};

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// A measurement record with its width field (columns 46 to 52) replaced.
std::string wdt_with_width(int line, const std::string& width7) {
  std::string record = wdt_record(line, 1.0);
  record.replace(45, 7, width7);
  return record;
}

// The ".obs" holds a record of the line with these bytes.
std::function<void(const Scratch&)> obs_contains(const std::string& bytes) {
  return [bytes](const Scratch& dir) {
    const std::string list = read_file(dir / "HD.obs").value_or("");
    EXPECT_NE(list.find(bytes), std::string::npos) << list;
  };
}

TEST(OddRecords, IronsiftInputs) {
  const std::string header = "measurements\n";
  const std::string params = params_text();
  const std::string long_line(3 << 20, 'x');
  const std::vector<OddCase> cases = {
      // NUL bytes
      {"NUL in a width field", "HD.wdt", header + wdt_with_width(0, "  4\0.0 "s), "HD", 2,
       "input conversion error, unit 12, file HD.wdt", "", nullptr},
      {"NUL in a record that is not a measurement", "HD.wdt",
       "head\0er\n"s + wdt_record(0, 42.0), "HD", 0, "", "file update finished !",
       obs_contains("  42.0")},
      {"NUL in the copied columns", "HD.wdt",
       header + wdt_record(0, 42.0, " 3.3\0 -2.183"s), "HD", 0, "", "", obs_contains(" 3.3\0"s)},
      // tabs
      {"tabs between the values of params.dat", "params.dat", replace_all(params, " ", "\t"),
       "HD", 0, "", "file update finished !", nullptr},
      {"tab in a width field", "HD.wdt", header + wdt_with_width(0, "  4\t.0 "), "HD", 2,
       "input conversion error, unit 12, file HD.wdt", "", nullptr},
      // carriage returns
      {"CR without LF between records of params.dat", "params.dat",
       replace_all(params, "\n", "\r"), "HD", 2, "file ./params.dat", "", nullptr},
      {"CR LF line ends", "HD.wdt", replace_all(header + wdt_text(3, 2), "\n", "\r\n"), "HD", 0,
       "", "file update finished !", obs_contains("   2   11.0 abc  11.1 abc\n")},
      // very long lines
      {"a 3 MiB record before the measurements", "HD.wdt",
       long_line + "\n" + wdt_record(0, 42.0), "HD", 0, "", "file update finished !",
       obs_contains("  42.0")},
      {"a reference record whose values run past column 80", "SUN.abd",
       "   1 26.00"s + std::string(75, ' ') + "4000.0 3.3 -2.1 40.0 7.5 7.5\n", "HD/SUN", 2,
       "end-of-file during read, unit 11, file SUN.abd", "", nullptr},
      // non-ASCII bytes
      {"non-ASCII bytes in the copied columns", "HD.wdt",
       header + wdt_record(0, 42.0, " caf\xc3\xa9 \xff\xfe"), "HD", 0, "", "",
       obs_contains("caf\xc3\xa9  \xff\xfe")},
      {"non-ASCII bytes in a width field", "HD.wdt", header + wdt_with_width(0, "  4\xc3\xa9.0"),
       "HD", 2, "input conversion error, unit 12, file HD.wdt", "", nullptr},
      // numbers too large for their variables
      {"line count 99999999999", "params.dat",
       replace_all(params, "\n 330\n", "\n 99999999999\n"), "HD", 1, "", "mzx,MLN", nullptr},
      {"line number 99999999999", "params.dat",
       replace_all(params, "\n   1 26.00", "\n99999999999 26.00"), "HD", 2,
       "input conversion error, unit 10, file ./params.dat", "", nullptr},
      // F7.1 puts the decimal point before the last digit: 1e40 is 1e39.
      {"width 1e39 into a 32-bit real (.wdt)", "HD.wdt", header + wdt_with_width(0, "   1e40"),
       "HD", 2, "input conversion error, unit 12, file HD.wdt", "", nullptr},
      {"width 1e39 into a 32-bit real (.abd)", "SUN.abd",
       "   1 26.00 4000.0 3.3 -2.1 1e39 7.5 7.5\n", "HD/SUN", 2,
       "input conversion error, unit 11, file SUN.abd", "", nullptr},
  };
  for (const OddCase& c : cases) {
    SCOPED_TRACE(c.name);
    Scratch dir;
    write_file(dir / "params.dat", params);
    write_file(dir / "HD.wdt", header + wdt_record(0, 42.0));
    write_file(dir / "SUN.abd", abd_record(1, "26.00", 40.0, 7.5));
    write_file(dir / c.file, c.content);
    RunSetup run;
    run.program = ironsift_path();
    run.args = {c.names, "i"};
    run.dir = dir.path();
    run.input = "\ng\n";
    run.env = {{"MOD_DIR", std::nullopt}};
    const RunOutcome outcome = run_program(run);
    EXPECT_EQ(outcome.signal, 0) << outcome.err;
    EXPECT_EQ(outcome.status, c.status) << outcome.err << outcome.out;
    if (!c.err.empty()) {
      EXPECT_NE(outcome.err.find(c.err), std::string::npos) << outcome.err;
    }
    if (!c.out.empty()) {
      EXPECT_NE(outcome.out.find(c.out), std::string::npos) << outcome.out;
    }
    if (c.status != 0) {
      EXPECT_FALSE(std::filesystem::exists(dir / "HD.obs"));
    }
    if (c.check) c.check(dir);
  }
}

struct WavepickOddCase {
  std::string name;
  std::string gf;       // the gf file's content
  std::string results;  // what "width" leaves as ewtemp.csv
  std::string ewmin;    // argument 7
  int status;
  std::string err;
  std::string out;
};

TEST(OddRecords, WavepickInputs) {
  const std::string gf = gf_text(3);
  const std::string results = results_text(3);
  std::string long_gf = gf;
  long_gf.insert(long_gf.find('\n', long_gf.find('\n') + 1), std::string(2 << 20, '9'));
  const std::vector<WavepickOddCase> cases = {
      {"NUL in a gf comment", "#\0 comment\n"s + gf, results, "10", 0, "", "nselect =   3"},
      {"NUL in a gf field", replace_all(gf, "26.00", "26\0""00"s), results, "10", 2,
       "input conversion error, unit 11", ""},
      {"tabs between the values of ewtemp.csv", gf, replace_all(results, ",", "\t"), "10", 0, "",
       "nselect =   3"},
      {"CR without LF in ewtemp.csv", gf, replace_all(results, "\n", "\r"), "10", 2,
       "file ewtemp.csv", ""},
      {"a gf line record of 2 MiB", long_gf, results, "10", 0, "", "nselect =   3"},
      {"non-ASCII bytes in ewtemp.csv", gf, "\xef\xbb\xbf" + results, "10", 2,
       "file ewtemp.csv", ""},
      {"value 1e309 in ewtemp.csv", gf, replace_all(results, "50.0", "1e309"), "10", 2,
       "input conversion error, unit 16, file ewtemp.csv", ""},
      {"ewmin 1e400", gf, results, "1e400", 2, "Internal List-Directed Read", ""},
  };
  for (const WavepickOddCase& c : cases) {
    SCOPED_TRACE(c.name);
    Scratch dir;
    std::filesystem::create_directories(dir / "velko/kbgfdos");
    write_file(dir / "velko/kbgfdos/GF0500.10", c.gf);
    write_file(dir / "model.dat", model_text());
    write_file(dir / "ready.csv", c.results);
    const std::string bin = install_moving_width(dir.path());
    RunSetup run;
    run.program = wavepick_path();
    run.args = {"4900", "5000", "26.00", "model.dat", "1.5", "7.5", c.ewmin, "picked.out"};
    run.dir = dir.path();
    run.env = {{"VELKO", dir / "velko"}, {"PATH", bin + ":/usr/bin:/bin"}};
    const RunOutcome outcome = run_program(run);
    EXPECT_EQ(outcome.signal, 0) << outcome.err;
    EXPECT_EQ(outcome.status, c.status) << outcome.err << outcome.out;
    if (!c.err.empty()) {
      EXPECT_NE(outcome.err.find(c.err), std::string::npos) << outcome.err;
    }
    if (!c.out.empty()) {
      EXPECT_NE(outcome.out.find(c.out), std::string::npos) << outcome.out;
    }
  }
}

}  // namespace
}  // namespace faults

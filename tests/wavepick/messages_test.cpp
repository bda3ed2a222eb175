// wavepick's own words on standard error for ordinary mistakes: the argument
// that could not be read, VELKO not set, a model that is neither there nor
// made, and why no candidate line was found. The console records stay as
// they are.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "wavepick_run.h"

namespace wavepick_test {
namespace {

namespace fs = std::filesystem;

const std::string kVelkoNotSet =
    "VELKO is not set: it must hold the suite's home directory, the one with kbgfdos/ (the line "
    "list GF0010.10 ... GFEND.10) and exefiles/ (tolmar, vessik, quorra)\n";
const std::string kRangeUnit = "wavepick: W1 and W2 are in \u00e5ngstr\u00f6m: 5000 \u00c5 is 500 nm\n";

bool ends_with(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(WavepickRun, ArgumentThatCannotBeReadIsNamed) {
  struct Case {
    std::vector<std::string> arguments;
    std::string report;  // the record layer's first line
    std::string named;   // the further line, last on standard error
  };
  const std::string eof = "Fatal error: end-of-file during read, unit -1, file Internal List-Directed Read\n";
  const std::string syntax =
      "Fatal error: list-directed I/O syntax error, unit -1, file Internal List-Directed Read\n";
  const std::vector<Case> cases = {
      {{}, eof, "  argument 1, W1, the lower end of the range in \u00c5; see wavepick --help\n"},
      {{"5000", "abc"}, syntax,
       "  argument 2, W2, the upper end of the range in \u00c5; see wavepick --help\n"},
      {{"5000", "5010", "  "}, eof,
       "  argument 3, CODE, the species code (26.00 Fe I, 26.01 Fe II); see wavepick --help\n"},
      {{"5000", "5010", "26", kModel, ""}, eof,
       "  argument 5, XI, the microturbulence in km/s; see wavepick --help\n"},
      {{"5000", "5010", "26", kModel, "1.2", "seven"}, syntax,
       "  argument 6, ABUND, the abundance; see wavepick --help\n"},
      {{"5000", "5010", "26", kModel, "1.2", "7.5"}, eof,
       "  argument 7, EWMIN, the smallest equivalent width that selects a line, in m\u00c5; see "
       "wavepick --help\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.named);
    const RunOutput output = run(c.arguments);
    EXPECT_EQ(output.status, 2);
    EXPECT_EQ(output.out, "");  // nothing echoed, no stage ran
    EXPECT_TRUE(contains(output.err, c.report)) << output.err;
    EXPECT_TRUE(ends_with(output.err, c.named)) << output.err;
    // The usage comes first only when no argument was given at all.
    EXPECT_EQ(output.err.rfind("Usage: wavepick W1 W2 CODE MODEL XI ABUND EWMIN OUTPUT\n", 0) == 0,
              c.arguments.empty())
        << output.err;
    EXPECT_FALSE(work_file_exists("lines.tmp"));
  }
}

TEST_F(WavepickRun, VelkoNotSetIsToldWhereItShows) {
  struct Case {
    std::string name;
    bool unset;             // else blank
    std::vector<std::string> arguments;
    int status;
    std::string first;      // on standard error before the VELKO line
    std::string velko_line;  // how the VELKO line stands (empty: none)
  };
  const std::vector<Case> cases = {
      {"unset, gf files", true, {"5000", "5050", "26", kModel, "1", "7.5", "0", "o.sel"}, 2,
       "Fatal error: open failure, unit 11, file /kbgfdos/GF0500.10\n", "  " + kVelkoNotSet},
      {"blank, gf files", false, {"5000", "5050", "26", kModel, "1", "7.5", "0", "o.sel"}, 2,
       "Fatal error: open failure, unit 11, file /kbgfdos/GF0500.10\n", "  " + kVelkoNotSet},
      // A range reversed across slices opens no gf file: the model programs
      // are the first to be missed.
      {"unset, model programs", true, {"5200", "4950", "26", kModel, "1", "7.5", "0", "o.sel"}, 1,
       "wavepick: could not start \"/exefiles/tolmar 05750 4.44 +0.20\": No such file or "
       "directory\n",
       "wavepick: " + kVelkoNotSet},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    velko_unset_ = c.unset;
    environment_.clear();
    if (!c.unset) environment_["VELKO"] = "   ";
    const RunOutput output = finish(start(c.arguments));  // start() knows velko_unset_
    EXPECT_EQ(output.status, c.status) << output.err;
    const std::size_t first = output.err.find(c.first);
    ASSERT_NE(first, std::string::npos) << output.err;
    EXPECT_TRUE(ends_with(output.err, c.velko_line)) << output.err;
    EXPECT_LT(first, output.err.size() - c.velko_line.size());
  }
  // With VELKO set, a missing program is named without the VELKO line.
  velko_unset_ = false;
  environment_.clear();
  fs::remove(velko_ / "exefiles" / "tolmar");
  const RunOutput output = run({"5200", "4950", "26", kModel, "1", "7.5", "0", "o.sel"});
  EXPECT_EQ(output.status, 1);
  EXPECT_TRUE(contains(output.err, "could not start")) << output.err;
  EXPECT_FALSE(contains(output.err, "VELKO")) << output.err;
}

TEST_F(WavepickRun, ModelNeitherThereNorMadeIsTold) {
  write_gf("GF0510.10", {gf_record(501.0, 1.0, "26.00", 0, 100)});
  const RunOutput output = run({"5005", "5020", "26", "my model.dat", "1", "7.5", "0", "o.sel"});
  EXPECT_EQ(output.status, 0) << output.err;
  EXPECT_EQ(output.err,
            "wavepick: model file \"my model.dat\" does not exist, and its name is not of the grid "
            "form t05750g444x+020m0 that the model programs make: \"width\" gets no model\n");
  EXPECT_FALSE(work_file_exists("my model.dat"));
  // A model that exists, or one of the grid form (made), is not mentioned.
  write_work_file("my model.dat", "TEFF   5750.  GRAVITY 4.44000 LTE\n");
  EXPECT_EQ(run({"5005", "5020", "26", "my model.dat", "1", "7.5", "0", "o.sel"}).err, "");
  EXPECT_EQ(run({"5005", "5020", "26", kModel, "1", "7.5", "0", "o.sel"}).err, "");
}

TEST_F(WavepickRun, WhyNoCandidateLineWasFound) {
  write_work_file("plain.mod", "TEFF   5750.  GRAVITY 4.44000 LTE\n");
  const std::string gf_dir = (velko_ / "kbgfdos").string();
  struct Case {
    std::string name;
    std::vector<std::string> gf;  // GF0510.10; empty: no file
    std::string w1, w2, code;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {"reversed", {gf_record(501.0, 1.0, "26.00", 0, 100)}, "5009", "5003", "26",
       "the range is reversed (W1 5009.000 is above W2 5003.000)"},
      {"no slice", {}, "5005", "5020", "26",
       "no gf slice for the range from 5005.000 to 5020.000 \u00c5 exists under " + gf_dir +
           " (looked for GF0510.10)"},
      {"nanometres typed", {gf_record(501.0, 1.0, "26.00", 0, 100)}, "500", "505", "26",
       "no gf slice for the range from 500.000 to 505.000 \u00c5 exists under " + gf_dir +
           " (looked for GF0050.10 to GF0060.10)"},
      {"no line in the range", {gf_record(501.0, 1.0, "26.00", 0, 100)}, "5050", "5060", "26",
       "the gf slices GF0510.10 under " + gf_dir + " hold no line from 5050.000 to 5060.000 \u00c5"},
      {"no line of the species",
       {"# comment", gf_record(501.0, 1.0, "26.00", 0, 100), gf_record(502.0, 1.0, "26.00", 0, 100),
        gf_record(509.0, 1.0, "26.01", 0, 100)},
       "5005", "5080", "26.01",
       "none of the lines from 5005.000 to 5080.000 \u00c5 in GF0510.10 under " + gf_dir +
           " has the species code 26.01"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(velko_ / "kbgfdos" / "GF0510.10");
    if (!c.gf.empty()) write_gf("GF0510.10", c.gf);
    const RunOutput output = run({c.w1, c.w2, c.code, "plain.mod", "1", "7.5", "0", "o.sel"});
    EXPECT_EQ(output.status, 0) << output.err;
    EXPECT_EQ(output.err, "wavepick: no candidate line: " + c.reason + "\n" + kRangeUnit);
    EXPECT_EQ(read_work_file("lines.tmp"), "");
  }
}

}  // namespace
}  // namespace wavepick_test

// The suite's programs failing in each way a real program can: "width" or a
// model program that cannot start, exits non-zero, is killed, leaves no
// file or meets a full disk. A failed "width" is a failure of the run: the
// result file of the run before stays as it was, and the status is 1.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "wavepick_run.h"

namespace wavepick_test {
namespace {

namespace fs = std::filesystem;
using Records = std::vector<std::string>;


// Temporary files of the record layer (out.sel.XXXXXX) left in a directory.
std::vector<std::string> leftovers(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("out.sel.", 0) == 0) names.push_back(name);
  }
  return names;
}

class SuiteFailures : public WavepickRun {
 protected:
  // 20 strong Fe I lines, a model made by the stand-ins, and a selection of
  // all 20 lines left by a good run in out.sel.
  void prepare_good_selection() {
    std::vector<std::string> gf;
    for (int k = 0; k < 20; ++k) gf.push_back(gf_record(501.0 + 0.01 * k, 1.0, "26.00", 0, 100));
    write_gf("GF0510.10", gf);
    const RunOutput good = run(arguments_);
    ASSERT_EQ(good.status, 0) << good.err;
    ASSERT_EQ(good.err, "");
    ASSERT_EQ(work_records("out.sel").size(), 20u);
    good_selection_ = read_work_file("out.sel");
  }

  const std::vector<std::string> arguments_ = {"5000.5", "5099", "26", kModel, "1.2", "7.5",
                                               "0",      "out.sel"};
  std::string good_selection_;
};

TEST_F(SuiteFailures, FailedWidthLeavesTheResultFileAndEndsWithStatusOne) {
  prepare_good_selection();
  struct Case {
    std::string name;
    std::function<void()> spoil;                // changes PATH's "width"
    std::map<std::string, std::string> switches;  // the stand-in's environment
    std::string message;
  };
  const std::vector<Case> cases = {
      {"not on PATH", [&] { fs::remove(bin_ / "width"); }, {},
       "wavepick: could not start \"width\": No such file or directory"},
      {"not executable",
       [&] {
         fs::remove(bin_ / "width");
         std::ofstream(bin_ / "width") << "#!/bin/sh\n";
         fs::permissions(bin_ / "width", fs::perms::owner_read | fs::perms::owner_write);
       },
       {}, "wavepick: could not start \"width\": Permission denied"},
      {"exit status 1", [] {}, {{"VELKO_STANDIN_FAIL", "width"}},
       "wavepick: \"width\" ended with exit status 1"},
      {"killed by a signal after 10 records", [] {},
       {{"VELKO_STANDIN_WIDTH_LIMIT", "10"}, {"VELKO_STANDIN_KILL", "width"}},
       "wavepick: \"width\" was ended by signal 9 (Killed)"},
      {"no ewtemp.csv", [] {}, {{"VELKO_STANDIN_NO_OUTPUT", "width"}},
       "wavepick: \"width\" wrote no ewtemp.csv"},
      {"full disk", [] {}, {{"VELKO_STANDIN_FILE_LIMIT", "600"}},
       "wavepick: \"width\" ended with exit status 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    standin_width();
    c.spoil();
    environment_ = c.switches;
    const RunOutput output = run(arguments_);
    EXPECT_EQ(output.status, 1) << output.err;
    EXPECT_NE(output.err.find(c.message + "\n"), std::string::npos) << output.err;
    EXPECT_NE(output.err.find("wavepick: no line is selected; out.sel is left as it was\n"),
              std::string::npos)
        << output.err;
    EXPECT_EQ(tail(output, 3), (Records{"n_total =  20", "nselect =   0", "ndiscard=  20"}));
    EXPECT_EQ(read_work_file("out.sel"), good_selection_);
    EXPECT_EQ(leftovers(work_), std::vector<std::string>{});
  }
  // The killed run really had left a partial result: 10 records.
  standin_width();
  environment_ = {{"VELKO_STANDIN_WIDTH_LIMIT", "10"}, {"VELKO_STANDIN_KILL", "width"}};
  EXPECT_EQ(run(arguments_).status, 1);
  EXPECT_EQ(work_records("ewtemp.csv").size(), 10u);
}

TEST_F(SuiteFailures, ResultCountsThatDifferFromTheLinesHandedOverAreTold) {
  prepare_good_selection();
  // Fewer records than lines: a width that exits 0 but lost lines.
  environment_ = {{"VELKO_STANDIN_WIDTH_LIMIT", "10"}};
  RunOutput output = run(arguments_);
  EXPECT_EQ(output.status, 0) << output.err;
  EXPECT_EQ(output.err,
            "wavepick: warning: ewtemp.csv holds 10 result records for 20 lines handed to "
            "\"width\"\n");
  EXPECT_EQ(tail(output, 3), (Records{"n_total =  20", "nselect =  10", "ndiscard=  10"}));
  EXPECT_EQ(work_records("out.sel").size(), 10u);

  // More records than lines; a record may span several text lines.
  environment_.clear();
  std::string results;
  for (int k = 0; k < 21; ++k) results += "1,26,5001,1,1,1,1,1,0,1,7.5,\n50,0\n";
  fake_width(results);
  output = run(arguments_);
  EXPECT_EQ(output.status, 0) << output.err;
  EXPECT_NE(output.err.find("holds 21 result records for 20 lines"), std::string::npos)
      << output.err;
  EXPECT_EQ(tail(output, 1), Records{"ndiscard=  -1"});
}

TEST_F(SuiteFailures, ModelProgramThatFailsIsNamed) {
  const std::string exefiles = (velko_ / "exefiles").string();
  struct Case {
    std::string name;
    std::function<void()> spoil;
    std::map<std::string, std::string> switches;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"tolmar missing", [&] { fs::remove(velko_ / "exefiles" / "tolmar"); }, {},
       "wavepick: could not start \"" + exefiles +
           "/tolmar 05750 4.44 +0.20\": No such file or directory"},
      {"vessik exits 1", [] {}, {{"VELKO_STANDIN_FAIL", "vessik"}},
       "wavepick: \"" + exefiles + "/vessik 0\" ended with exit status 1"},
      {"quorra killed", [] {}, {{"VELKO_STANDIN_KILL", "quorra"}},
       "wavepick: \"" + exefiles + "/quorra 05750 4.44 +0.20 0\" was ended by signal 9 (Killed)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const char* program : {"tolmar", "vessik", "quorra"}) {
      fs::remove(work_ / (std::string(program) + ".dat"));  // work files of a failed run
      fs::remove(velko_ / "exefiles" / program);
      fs::create_symlink(fs::path(WAVEPICK_STANDIN_DIR) / program, velko_ / "exefiles" / program);
    }
    c.spoil();
    environment_ = c.switches;
    const RunOutput output = run({"5000", "5001", "26", kModel, "1.0", "7.5", "0", "out.sel"});
    EXPECT_EQ(output.status, 1) << output.err;
    EXPECT_NE(output.err.find(c.message + "\n"), std::string::npos) << output.err;
    EXPECT_EQ(tail(output, 1), Records{" program stopped (loexthe) -->!$?"});
    EXPECT_FALSE(work_file_exists(kModel));
  }
}

}  // namespace
}  // namespace wavepick_test

// Two wavepick runs started together in one directory share its fixed
// scratch names (lines.tmp, winput.in, ewtemp.csv, the model programs' work
// files): the second waits for the first, and each result is what the run
// alone gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wavepick_run.h"

namespace wavepick_test {
namespace {

using Records = std::vector<std::string>;

const std::string kWaiting =
    "wavepick: another wavepick run is working in this directory; waiting for it to end\n";

TEST_F(WavepickRun, RunsStartedTogetherInOneDirectoryKeepTheirSpeciesApart) {
  std::vector<std::string> gf;
  for (int k = 0; k < 30; ++k) {
    gf.push_back(gf_record(501.0 + 0.01 * k, 0.5, k % 2 == 0 ? "26.00" : "26.01", 0, 100));
  }
  write_gf("GF0510.10", gf);
  // A slow "width" keeps the first run busy while the second starts; the
  // model is missing, so the first run also runs the model programs.
  environment_["VELKO_STANDIN_SLEEP"] = "0.5";
  const std::string model = "t05750g444x+020m0";
  auto arguments = [&](const char* code, const std::string& output) {
    return std::vector<std::string>{"5000.5", "5099", code, model, "1.2", "7.5", "0", output};
  };
  const StartedRun fe1 = start(arguments("26.00", "fe1.sel"), "-fe1");
  const StartedRun fe2 = start(arguments("26.01", "fe2.sel"), "-fe2");
  const RunOutput fe1_output = finish(fe1);
  const RunOutput fe2_output = finish(fe2);
  ASSERT_EQ(fe1_output.status, 0) << fe1_output.err;
  ASSERT_EQ(fe2_output.status, 0) << fe2_output.err;
  // Exactly one of them waited, and said so once.
  EXPECT_EQ((fe1_output.err == kWaiting) + (fe2_output.err == kWaiting), 1)
      << fe1_output.err << "---\n" << fe2_output.err;
  EXPECT_EQ((fe1_output.err.empty()) + (fe2_output.err.empty()), 1);

  const Records fe1_selected = work_records("fe1.sel");
  const Records fe2_selected = work_records("fe2.sel");
  ASSERT_EQ(fe1_selected.size(), 15u);
  ASSERT_EQ(fe2_selected.size(), 15u);
  for (const std::string& r : fe1_selected) EXPECT_EQ(r.substr(0, 6), " 26.00") << r;
  for (const std::string& r : fe2_selected) EXPECT_EQ(r.substr(0, 6), " 26.01") << r;

  // Each equals the result of the same run alone.
  environment_.clear();
  ASSERT_EQ(run(arguments("26.00", "fe1-alone.sel")).status, 0);
  ASSERT_EQ(run(arguments("26.01", "fe2-alone.sel")).status, 0);
  EXPECT_EQ(read_work_file("fe1.sel"), read_work_file("fe1-alone.sel"));
  EXPECT_EQ(read_work_file("fe2.sel"), read_work_file("fe2-alone.sel"));
}

}  // namespace
}  // namespace wavepick_test

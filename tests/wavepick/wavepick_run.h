// A scratch VELKO tree and working directory for end-to-end runs of wavepick,
// with the suite's stand-ins in place: $VELKO/exefiles/{tolmar,vessik,quorra}
// and "width" in a directory on PATH. The tree's path holds a blank, so every
// run also shows that paths are never handed to a shell.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "scratch_dir.h"

namespace wavepick_test {

// The grid model of the sample runs, made by the stand-ins of the model programs.
inline const std::string kModel = "t05750g444x+020m0";

struct RunOutput {
  int status = -1;     // exit status, or 128 + signal
  std::string out;     // standard output
  std::string err;     // standard error
  std::vector<std::string> out_records() const;
};

// The last n console records of a run.
inline std::vector<std::string> tail(const RunOutput& output, std::size_t n) {
  const std::vector<std::string> all = output.out_records();
  return std::vector<std::string>(all.end() - static_cast<long>(std::min(n, all.size())), all.end());
}

// One gf line record (columns 1 to 98) and a tail like the real lists'.
std::string gf_record(double wavelength_nm, double log_gf, const std::string& species,
                      double energy1, double energy2);

// A run started and not yet waited for (started_run.cpp).
struct StartedRun {
  pid_t pid = -1;
  std::filesystem::path out_path;
  std::filesystem::path err_path;
};

class WavepickRun : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes $VELKO/kbgfdos/<name> with these records.
  void write_gf(const std::string& name, const std::vector<std::string>& records);
  // Writes a file in the working directory.
  void write_work_file(const std::string& name, const std::string& content);
  std::string read_work_file(const std::string& name) const;
  std::vector<std::string> work_records(const std::string& name) const;
  bool work_file_exists(const std::string& name) const;
  // Puts a "width" on PATH that copies this text to ewtemp.csv and exits
  // with status.
  void fake_width(const std::string& ewtemp, int status = 0);
  // Puts the stand-in "width" back on PATH.
  void standin_width();

  // Starts wavepick as run() does, without waiting, so that runs can overlap
  // or be signalled; tag names the run's stdout/stderr files. velko_unset_
  // and a VELKO entry of environment_ apply here.
  StartedRun start(const std::vector<std::string>& arguments, const std::string& tag = "");
  RunOutput finish(const StartedRun& started);
  bool velko_unset_ = false;  // start() without VELKO at all

  // Runs wavepick with these arguments in the working directory.
  RunOutput run(const std::vector<std::string>& arguments);

  std::filesystem::path root_;
  std::filesystem::path velko_;
  std::filesystem::path work_;
  std::filesystem::path bin_;
  std::map<std::string, std::string> environment_;  // added to the run's environment

 private:
  std::optional<test_support::ScratchDir> scratch_;  // holds root_
};

}  // namespace wavepick_test

#include "wavepick_run.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "program_run.h"
#include "test_files.h"

extern char** environ;

namespace wavepick_test {
namespace fs = std::filesystem;

std::vector<std::string> RunOutput::out_records() const {
  std::vector<std::string> records;
  std::istringstream stream(out);
  std::string line;
  while (std::getline(stream, line)) records.push_back(line);
  return records;
}

std::string gf_record(double wavelength_nm, double log_gf, const std::string& species,
                      double energy1, double energy2) {
  char record[200];
  std::snprintf(record, sizeof record, "%11.4f%7.3f%6s%12.3f%5.1f %-10s%12.3f%5.1f %-10s%6.2f%6.2f%6.2f%s",
                wavelength_nm, log_gf, species.c_str(), energy1, 2.0, "d6s2 a5D", energy2, 3.0,
                "d6sp z5F", 8.10, -5.20, -7.30, "K94  0 0  0 0.000  0 0.000      1147 ");
  return record;
}

void WavepickRun::SetUp() {
  scratch_.emplace("wavepick e2e");
  root_ = scratch_->path();
  velko_ = root_ / "velko home";
  work_ = root_ / "work";
  bin_ = root_ / "bin";
  fs::create_directories(velko_ / "kbgfdos");
  fs::create_directories(velko_ / "exefiles");
  fs::create_directories(work_);
  fs::create_directories(bin_);
  const fs::path standins = WAVEPICK_STANDIN_DIR;
  for (const char* program : {"tolmar", "vessik", "quorra"}) {
    fs::create_symlink(standins / program, velko_ / "exefiles" / program);
  }
  fs::create_symlink(standins / "width", bin_ / "width");
}

void WavepickRun::TearDown() { scratch_.reset(); }

void WavepickRun::write_gf(const std::string& name, const std::vector<std::string>& records) {
  std::ofstream out(velko_ / "kbgfdos" / name, std::ios::binary);
  for (const std::string& r : records) out << r << '\n';
}

void WavepickRun::write_work_file(const std::string& name, const std::string& content) {
  test_files::write_file((work_ / name).string(), content);
}

std::string WavepickRun::read_work_file(const std::string& name) const {
  return test_files::read_file((work_ / name).string()).value_or("");
}

std::vector<std::string> WavepickRun::work_records(const std::string& name) const {
  std::vector<std::string> records;
  std::istringstream stream(read_work_file(name));
  std::string line;
  while (std::getline(stream, line)) records.push_back(line);
  return records;
}

bool WavepickRun::work_file_exists(const std::string& name) const {
  return fs::exists(work_ / name);
}

void WavepickRun::standin_width() {
  fs::remove(bin_ / "width");
  fs::create_symlink(fs::path(WAVEPICK_STANDIN_DIR) / "width", bin_ / "width");
}

void WavepickRun::fake_width(const std::string& ewtemp, int status) {
  fs::remove(bin_ / "width");
  const fs::path results = root_ / "fake_ewtemp.csv";
  std::ofstream(results, std::ios::binary) << ewtemp;
  std::ofstream script(bin_ / "width");
  script << "#!/bin/sh\n";
  script << "cp '" << results.string() << "' ewtemp.csv\n";
  script << "exit " << status << "\n";
  script.close();
  fs::permissions(bin_ / "width", fs::perms::owner_all);
}

RunOutput WavepickRun::run(const std::vector<std::string>& arguments) {
  test_support::RunSetup setup;
  setup.program = WAVEPICK_EXECUTABLE;
  setup.args = arguments;
  setup.dir = work_.string();
  // Only this tree's VELKO variables and stand-ins reach the program.
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    if (text.rfind("VELKO", 0) == 0) setup.env[text.substr(0, text.find('='))] = std::nullopt;
  }
  setup.env["PATH"] = bin_.string() + ":/usr/bin:/bin";
  setup.env["VELKO"] = velko_.string();
  for (const auto& [name, value] : environment_) setup.env[name] = value;

  const test_support::RunOutcome outcome = test_support::run_program(setup);
  RunOutput output;
  output.status = outcome.signal != 0 ? 128 + outcome.signal : outcome.status;
  output.out = outcome.out;
  output.err = outcome.err;
  return output;
}

}  // namespace wavepick_test

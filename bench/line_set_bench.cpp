// Line-set benchmark: the time of wavepick's line-set stage over one gf slice
// of (by default) 1,000,000 valid line records, next to the time of `wc -l` on
// the same file in the same run, and their ratio.
//
//   line_set_bench [records]
//
// The slice is generated in a temporary directory (VELKO/kbgfdos/GF0510.10,
// 160-character records of many species between 500 and 510 nm); the stage
// decodes and checks every record and keeps the Fe I lines of 500.05-509.95 nm.
// Each command is timed five times after one warm-up run of wc -l (so that
// both read the file from the page cache); the best times are compared, both
// elapsed and processor time (user + system; steadier on a busy machine).
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>

#include "line_set.h"
#include "run_parameters.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

void write_slice(const fs::path& path, long records) {
  std::ofstream out(path, std::ios::binary);
  std::mt19937 random(20261209);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const double species[] = {26.00, 26.01, 22.00, 24.00, 28.00, 20.01, 14.00, 12.00};
  char record[256];
  for (long i = 0; i < records; ++i) {
    const double wavelength = 500.0 + 10.0 * (static_cast<double>(i) + 0.5) / static_cast<double>(records);
    const double energy1 = 60000.0 * unit(random);
    const double energy2 = energy1 + 15000.0 + 10000.0 * unit(random);
    const int written = std::snprintf(
        record, sizeof record,
        "%11.4f%7.3f%6.2f%12.3f%5.1f %-10s%12.3f%5.1f %-10s%6.2f%6.2f%6.2f"
        "K12  0 0  0 0.000  0 0.000    0    0      0    1242 \n",
        wavelength, -6.0 + 6.5 * unit(random), species[i % 8], energy1, 2.5, "d7s2 a4F",
        energy2, 3.5, "d7sp z4G", 7.0 + 2.0 * unit(random), -6.0 + 2.0 * unit(random),
        -7.8 + 0.8 * unit(random));
    out.write(record, written);
  }
}

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double cpu_seconds(const rusage& usage) {
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Elapsed and processor (user + system) time of one measured run.
struct Timing {
  double elapsed = 1e30;
  double cpu = 1e30;
  void keep_best(const Timing& other) {
    elapsed = std::min(elapsed, other.elapsed);
    cpu = std::min(cpu, other.cpu);
  }
};

// Runs wc -l on the file with its output discarded.
Timing time_wc(const fs::path& file) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  std::string program = "wc", flag = "-l", name = file.string();
  char* argv[] = {program.data(), flag.data(), name.data(), nullptr};
  const auto start = Clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, "wc", &actions, nullptr, argv, environ) != 0) {
    std::cerr << "line_set_bench: cannot start wc\n";
    std::exit(1);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const Timing timing{seconds_since(start), cpu_seconds(usage)};
  posix_spawn_file_actions_destroy(&actions);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::cerr << "line_set_bench: wc -l failed\n";
    std::exit(1);
  }
  return timing;
}

Timing time_line_set(const wavepick::RunParameters& parameters) {
  rusage before{}, after{};
  getrusage(RUSAGE_SELF, &before);
  const auto start = Clock::now();
  wavepick::LINESET(parameters);
  const double elapsed = seconds_since(start);
  getrusage(RUSAGE_SELF, &after);
  return {elapsed, cpu_seconds(after) - cpu_seconds(before)};
}

}  // namespace

int main(int argc, char** argv) {
  const long records = argc > 1 ? std::atol(argv[1]) : 1'000'000;
  if (records <= 0 || records > wavepick::kMaxRecordsPerGfFile) {
    std::cerr << "line_set_bench: records must be 1 to " << wavepick::kMaxRecordsPerGfFile << '\n';
    return 2;
  }
  char pattern[] = "/tmp/line_set_bench.XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    std::perror("line_set_bench: mkdtemp");
    return 1;
  }
  const fs::path root = pattern;
  fs::create_directories(root / "kbgfdos");
  const fs::path slice = root / "kbgfdos" / "GF0510.10";
  write_slice(slice, records);
  setenv("VELKO", root.c_str(), 1);
  fs::current_path(root);

  wavepick::RunParameters parameters;
  parameters.w1 = 5000.5;
  parameters.w2 = 5099.5;
  parameters.cod = 26.00;

  time_wc(slice);  // warm-up: the file is in the page cache from here on
  Timing wc_best, stage_best;
  for (int run = 0; run < 5; ++run) {
    wc_best.keep_best(time_wc(slice));
    stage_best.keep_best(time_line_set(parameters));
  }
  long kept = 0;
  {
    std::ifstream lines(root / "lines.tmp");
    std::string line;
    while (std::getline(lines, line)) ++kept;
  }
  const auto bytes = fs::file_size(slice);
  std::printf("records        %ld (%.1f MB)\n", records, static_cast<double>(bytes) / 1e6);
  std::printf("lines kept     %ld\n", kept);
  std::printf("                elapsed    cpu (best of 5 each)\n");
  std::printf("wc -l           %7.4f s %7.4f s\n", wc_best.elapsed, wc_best.cpu);
  std::printf("line-set stage  %7.4f s %7.4f s\n", stage_best.elapsed, stage_best.cpu);
  std::printf("ratio           %7.2f   %7.2f   (line-set stage / wc -l)\n",
              stage_best.elapsed / wc_best.elapsed, stage_best.cpu / wc_best.cpu);
  fs::current_path("/");
  fs::remove_all(root);
  return 0;
}

// Line-set benchmark: wavepick over one gf slice of (by default) 1,000,000
// valid 160-character line records, next to `wc -l` on the same file, in the
// same run.
//
//   line_set_bench [--records N] [--runs R] [--dir DIR] [--wavepick PROGRAM]
//                  [--width-dir DIR]
//
// The slice is generated in a scratch tree under DIR (default $TMPDIR or
// /tmp): VELKO/kbgfdos/GF0510.10, records of many species between 500 and
// 510 nm. Two measurements, each a warm-up run and then R runs alternating
// with `wc -l` on the slice (so that both read it from the page cache), and
// the medians compared:
//
// 1. The whole program: `wavepick 5001 5049 99.99 model.dat 1.0 7.5 10
//    picked.sel` in the scratch tree, with an existing model file and the
//    stand-in `width` on PATH. No record is of species 99.99, so every record
//    is read and checked and the later stages have nothing to do. Elapsed and
//    processor time (user + system, the program's and the `width` it waits
//    for) and the program's peak resident memory.
// 2. The line-set stage alone, in this process, keeping the Fe I lines of
//    500.05-509.95 nm (one record in eight): the stage with lines to convert
//    and write.
//
// The machine's load average is printed before and after: on a busy machine
// the processor-time ratio is the steadier one. The program's elapsed time
// also holds the syncs of the four files it writes (lines.tmp, winput.in,
// widfiles.lst, the result file), which on a disk file system wait for the
// disk; `--dir /dev/shm` puts the scratch tree in memory, where they cost
// nothing and the elapsed ratio shows the reading alone.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

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

// Elapsed and processor (user + system) time of one run, and its peak
// resident memory (kB).
struct Timing {
  double elapsed = 0;
  double cpu = 0;
  long peak_kb = 0;
};

[[noreturn]] void fail(const std::string& message) {
  std::cerr << "line_set_bench: " << message << '\n';
  std::exit(1);
}

// Runs a program in directory with its standard output discarded and its
// standard error kept in the file errors; fails unless it ends with status 0.
Timing time_program(const std::vector<std::string>& arguments, const fs::path& directory,
                    const fs::path& errors) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> copies = arguments;
  std::vector<char*> argv;
  for (std::string& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);
  const fs::path previous = fs::current_path();
  fs::current_path(directory);
  const auto start = Clock::now();
  pid_t pid = 0;
  const int started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  int status = 0;
  rusage usage{};
  if (started == 0) wait4(pid, &status, 0, &usage);
  const double elapsed = seconds_since(start);
  fs::current_path(previous);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) fail("cannot start " + arguments[0] + ": " + std::strerror(started));
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    fail(arguments[0] + " failed; its standard error is in " + errors.string());
  }
  // wait4 reports the child together with the children it waited for.
  return {elapsed, cpu_seconds(usage), usage.ru_maxrss};
}

Timing time_line_set(const wavepick::RunParameters& parameters, const fs::path& directory) {
  const fs::path previous = fs::current_path();
  fs::current_path(directory);
  rusage before{}, after{};
  getrusage(RUSAGE_SELF, &before);
  const auto start = Clock::now();
  wavepick::LINESET(parameters);
  const double elapsed = seconds_since(start);
  getrusage(RUSAGE_SELF, &after);
  fs::current_path(previous);
  return {elapsed, cpu_seconds(after) - cpu_seconds(before), 0};
}

struct Series {
  std::vector<Timing> runs;
  static double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
  }
  std::vector<double> elapsed() const {
    std::vector<double> v;
    for (const Timing& t : runs) v.push_back(t.elapsed);
    return v;
  }
  std::vector<double> cpu() const {
    std::vector<double> v;
    for (const Timing& t : runs) v.push_back(t.cpu);
    return v;
  }
  double median_elapsed() const { return median(elapsed()); }
  double median_cpu() const { return median(cpu()); }
  long peak_kb() const {
    long peak = 0;
    for (const Timing& t : runs) peak = std::max(peak, t.peak_kb);
    return peak;
  }
};

void print_series(const char* name, const Series& series) {
  const auto e = series.elapsed();
  const auto c = series.cpu();
  std::printf("%-16s %8.4f s %8.4f s   (elapsed %.4f-%.4f, cpu %.4f-%.4f)\n", name,
              series.median_elapsed(), series.median_cpu(), *std::min_element(e.begin(), e.end()),
              *std::max_element(e.begin(), e.end()), *std::min_element(c.begin(), c.end()),
              *std::max_element(c.begin(), c.end()));
}

void print_ratio(const char* name, const Series& measured, const Series& wc) {
  std::printf("%-16s %8.2f   %8.2f     (median / median of wc -l)\n", name,
              measured.median_elapsed() / wc.median_elapsed(), measured.median_cpu() / wc.median_cpu());
}

void print_load(const char* when) {
  double load[3] = {0, 0, 0};
  if (getloadavg(load, 3) == 3) {
    std::printf("load average %s: %.2f %.2f %.2f\n", when, load[0], load[1], load[2]);
  }
}

long count_lines(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  long n = 0;
  while (std::getline(in, line)) ++n;
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  long records = 1'000'000;
  int runs = 7;
  const char* tmpdir = std::getenv("TMPDIR");
  fs::path base = tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp";
  std::string wavepick_program = LINE_SET_BENCH_WAVEPICK;
  std::string width_dir = LINE_SET_BENCH_WIDTH_DIR;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (i + 1 >= argc) fail("option " + option + " needs a value");
    const std::string value = argv[++i];
    if (option == "--records") {
      records = std::atol(value.c_str());
    } else if (option == "--runs") {
      runs = std::atoi(value.c_str());
    } else if (option == "--dir") {
      base = value;
    } else if (option == "--wavepick") {
      wavepick_program = fs::absolute(value).string();
    } else if (option == "--width-dir") {
      width_dir = fs::absolute(value).string();
    } else {
      fail("unknown option " + option);
    }
  }
  if (records <= 0 || records > wavepick::kMaxRecordsPerGfFile) {
    fail("--records must be 1 to " + std::to_string(wavepick::kMaxRecordsPerGfFile));
  }
  if (runs <= 0) fail("--runs must be at least 1");

  const std::string pattern_text = (base / "line_set_bench.XXXXXX").string();
  std::vector<char> pattern(pattern_text.begin(), pattern_text.end());
  pattern.push_back('\0');
  if (mkdtemp(pattern.data()) == nullptr) fail("cannot make a directory in " + base.string());
  const fs::path root = pattern.data();
  const fs::path velko = root / "velko";
  const fs::path run_dir = root / "run";
  fs::create_directories(velko / "kbgfdos");
  fs::create_directories(run_dir);
  const fs::path slice = velko / "kbgfdos" / "GF0510.10";
  write_slice(slice, records);
  std::ofstream(run_dir / "model.dat") << "a model that exists, so none is made\n";
  setenv("VELKO", velko.c_str(), 1);
  const std::string path = width_dir + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "");
  setenv("PATH", path.c_str(), 1);

  const std::vector<std::string> wavepick_run = {
      wavepick_program, "5001", "5049", "99.99", "model.dat", "1.0", "7.5", "10", "picked.sel"};
  const std::vector<std::string> wc_run = {"wc", "-l", slice.string()};
  const fs::path errors = root / "stderr.txt";

  print_load("before");
  // 1. The whole program, alternating with wc -l.
  time_program(wc_run, run_dir, errors);
  time_program(wavepick_run, run_dir, errors);
  Series wc_whole, program;
  for (int run = 0; run < runs; ++run) {
    wc_whole.runs.push_back(time_program(wc_run, run_dir, errors));
    program.runs.push_back(time_program(wavepick_run, run_dir, errors));
  }
  const long candidates = count_lines(run_dir / "lines.tmp");

  // 2. The line-set stage in this process, alternating with wc -l.
  wavepick::RunParameters parameters;
  parameters.w1 = 5000.5;
  parameters.w2 = 5099.5;
  parameters.cod = 26.00;
  time_line_set(parameters, run_dir);
  Series wc_stage, stage;
  for (int run = 0; run < runs; ++run) {
    wc_stage.runs.push_back(time_program(wc_run, run_dir, errors));
    stage.runs.push_back(time_line_set(parameters, run_dir));
  }
  const long kept = count_lines(run_dir / "lines.tmp");
  print_load("after ");

  const auto bytes = fs::file_size(slice);
  std::printf("slice            %ld records, %.1f MB, in %s\n", records,
              static_cast<double>(bytes) / 1e6, root.c_str());
  std::printf("program          %s (%ld candidate lines)\n", wavepick_program.c_str(), candidates);
  std::printf("                 elapsed    cpu        (median of %d alternating runs)\n", runs);
  std::printf("1. whole program, nothing selected\n");
  print_series("wc -l", wc_whole);
  print_series("wavepick", program);
  print_ratio("ratio", program, wc_whole);
  std::printf("peak memory      %.1f MB (wavepick's largest resident set)\n",
              static_cast<double>(program.peak_kb()) / 1024.0);
  std::printf("2. line-set stage in this process, Fe I kept (%ld lines)\n", kept);
  print_series("wc -l", wc_stage);
  print_series("line-set stage", stage);
  print_ratio("ratio", stage, wc_stage);
  fs::remove_all(root);
  return 0;
}

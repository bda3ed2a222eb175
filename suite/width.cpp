// Stand-in for the suite's equivalent-width program "width".
//
// Reads its file list "widfiles.lst" (records "f <unit> <name>"; unit 5 names
// the input, unit 44 the results), the input "winput.in" (VTUR block with the
// microturbulence, CURV block with the abundance, LINE block with the line
// records in the columns of "lines.tmp", the model records up to END, STOP)
// and writes one result record per line, 13 comma-separated values:
//
//   1 line number, 2-8 species, wavelength (A), excitation potential (eV),
//   log gf and the three damping constants as read, 9 log X (below),
//   10 microturbulence, 11 abundance, 12 equivalent width (mA), 13 zero.
//
// Curve of growth (a deliberately simple one, not a line-formation code):
//
//   theta = 5040 / Teff                 (Teff from the model's TEFF record)
//   log X = log gf + (A - 7.50) - theta * chi + log10(lambda / 5000) + 5.0
//   W     = W0 * ln(1 + X),  W0 = 20 mA * (lambda / 5000) * (1 + xi / 2)
//
// so W grows linearly with X for weak lines (W ~ W0 X), only logarithmically
// once X passes 1 (saturation), grows with log gf and the abundance and falls
// with the excitation potential.
//
// VELKO_STANDIN_WIDTH_LIMIT=n writes at most n result records (a run that
// loses lines); a missing or unreadable input ends with status 1. Besides the
// switches of standin.h (VELKO_STANDIN_KILL=width ends it by SIGKILL once its
// records are written and flushed):
//
//   VELKO_STANDIN_SLEEP=s        waits s seconds before writing its results (an ending
//                                signal then ends it through a handler)
//   VELKO_STANDIN_PID_FILE=path  writes its process id to path at the start
//   VELKO_STANDIN_FILE_LIMIT=n   no file it writes may grow beyond n bytes, as
//                                on a full disk: the write fails, status 1
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "standin.h"

namespace {

struct Line {
  double values[7] = {};  // species, wavelength, chi, log gf, three damping constants
};

bool starts_with(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

void drop_carriage_return(std::string& record) {
  if (!record.empty() && record.back() == '\r') record.pop_back();
}

// Field k of a "lines.tmp" record (F6.2, F9.3, F6.3, F6.3, 3F6.2, F7.1).
bool parse_line(const std::string& record, Line& line) {
  static const int starts[] = {0, 6, 15, 21, 27, 33, 39};
  static const int widths[] = {6, 9, 6, 6, 6, 6, 6};
  for (int k = 0; k < 7; ++k) {
    if (record.size() < static_cast<std::size_t>(starts[k] + widths[k])) return false;
    const std::string field = record.substr(static_cast<std::size_t>(starts[k]),
                                            static_cast<std::size_t>(widths[k]));
    char* end = nullptr;
    line.values[k] = std::strtod(field.c_str(), &end);
    if (end == field.c_str()) return false;
  }
  return true;
}

[[noreturn]] void fail(const std::string& message) {
  std::cerr << "width: " << message << '\n';
  std::exit(1);
}

extern "C" void end_on_signal(int signal_number) { ::_exit(128 + signal_number); }

// The switches that act before anything is read.
void apply_start_switches() {
  if (const char* path = std::getenv("VELKO_STANDIN_PID_FILE")) {
    std::ofstream(path) << ::getpid() << '\n';
  }
  standin::end_if_switched("width", /*kill_now=*/false);
  if (const char* text = std::getenv("VELKO_STANDIN_FILE_LIMIT")) {
    const rlim_t bytes = static_cast<rlim_t>(std::atol(text));
    const struct rlimit limit = {bytes, bytes};
    // A write beyond the limit then fails (EFBIG) instead of ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) fail("cannot set the file-size limit");
  }
}

}  // namespace

int main() {
  apply_start_switches();
  std::string input_name, output_name;
  {
    std::ifstream list("widfiles.lst");
    if (!list) fail("widfiles.lst not found");
    std::string record;
    while (std::getline(list, record)) {
      std::istringstream fields(record);
      std::string f, name;
      int unit = 0;
      fields >> f >> unit >> name;
      if (unit == 5) input_name = name;
      if (unit == 44) output_name = name;
    }
  }
  if (input_name.empty() || output_name.empty()) fail("widfiles.lst names no unit 5 or 44");

  std::ifstream input(input_name);
  if (!input) fail(input_name + " not found");
  double xi = 0, abundance = 7.5, teff = 5750.0;
  std::vector<Line> lines;
  std::string record;
  enum class Block { None, Vtur, Curv, Lines, Model, Done } block = Block::None;
  while (block != Block::Done && std::getline(input, record)) {
    drop_carriage_return(record);
    switch (block) {
      case Block::None:
        if (starts_with(record, "VTUR")) block = Block::Vtur;
        else if (starts_with(record, "CURV")) block = Block::Curv;
        else if (starts_with(record, "LINE")) block = Block::Lines;
        else if (starts_with(record, "STOP")) block = Block::Done;
        break;
      case Block::Vtur: {
        int count = 0;
        std::istringstream(record.substr(0, 5)) >> count;
        if (record.size() > 5) std::istringstream(record.substr(5)) >> xi;
        block = Block::None;
        break;
      }
      case Block::Curv: {
        double ignored = 0;
        std::istringstream(record) >> ignored >> abundance;
        block = Block::None;
        break;
      }
      case Block::Lines: {
        if (starts_with(record, "END")) {
          block = Block::Model;
          break;
        }
        Line line;
        if (!parse_line(record, line)) fail("unreadable line record: " + record);
        lines.push_back(line);
        break;
      }
      case Block::Model:
        if (starts_with(record, "END")) {
          block = Block::None;
        } else if (starts_with(record, "TEFF")) {
          std::istringstream(record.substr(4)) >> teff;
        }
        break;
      case Block::Done:
        break;
    }
  }

  long limit = static_cast<long>(lines.size());
  if (const char* text = std::getenv("VELKO_STANDIN_WIDTH_LIMIT")) limit = std::atol(text);

  if (const char* text = std::getenv("VELKO_STANDIN_SLEEP")) {
    // While it waits, an ending signal ends it through a handler, as in a
    // program that tidies up first; a stopped program runs no handler until
    // it is continued.
    for (int signal_number : {SIGTERM, SIGINT, SIGHUP, SIGUSR1}) std::signal(signal_number, end_on_signal);
    std::this_thread::sleep_for(std::chrono::duration<double>(std::atof(text)));
  }

  std::FILE* out = std::fopen(output_name.c_str(), "w");
  if (out == nullptr) fail("cannot write " + output_name);
  const double theta = 5040.0 / teff;
  for (std::size_t i = 0; i < lines.size() && static_cast<long>(i) < limit; ++i) {
    const double* v = lines[i].values;
    const double wavelength = v[1], chi = v[2], log_gf = v[3];
    const double log_x = log_gf + (abundance - 7.50) - theta * chi +
                         std::log10(wavelength / 5000.0) + 5.0;
    const double w0 = 20.0 * (wavelength / 5000.0) * (1.0 + xi / 2.0);
    const double width = w0 * std::log1p(std::pow(10.0, log_x));
    std::fprintf(out, "%zu,%.2f,%.3f,%.3f,%.3f,%.2f,%.2f,%.2f,%.3f,%.2f,%.2f,%.1f,0\n", i + 1,
                 v[0], v[1], v[2], v[3], v[4], v[5], v[6], log_x, xi, abundance, width);
  }
  if (standin::switched_on("VELKO_STANDIN_KILL", "width")) {
    std::fflush(out);
    standin::kill_self();
  }
  const bool written = std::fflush(out) == 0 && std::ferror(out) == 0;
  if (std::fclose(out) != 0 || !written) fail("cannot write " + output_name);
  return 0;
}

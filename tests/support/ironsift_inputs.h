// The line table "params.dat" and ".wdt" measurement records that the tests
// running ironsift give it.
#pragma once

#include <string>
#include <vector>

namespace test_support {

struct TableLine {
  int line_number;
  double wavelength;  // Å
};

// Lines numbered 1 to n at first, first + step, first + 2 step, ... Å.
std::vector<TableLine> evenly_spaced_lines(int n, double first, double step);

// A "params.dat": four model parameter records, the line count, then
// records_written line records of species 26.00 ("%4d 26.00 %9.3f"). The given
// lines fill the table from its start; the rest are filler lines numbered 9001
// on at 9000.5 + index Å, far from the lines a test measures.
std::string params_text(const std::vector<TableLine>& lines, int count = 330,
                        int records_written = 330);

// The copied columns 16-45 of a ".wdt" record when a test has no text of its
// own for them: excitation and log gf, then dots.
inline constexpr const char* kWdtMiddle30 = " 3.300 -2.183 ................";

// One 80-column ".wdt" record, ending with LF: species text in columns 2-6,
// wavelength text in 7-15, middle30 in 16-45, width text in 46-52, tail7 in
// 53-59 and the code's three characters in columns 60, 70 and 71; the other
// columns hold a fixed pattern. Throws std::invalid_argument when a piece has
// not its width.
std::string wdt_record(const std::string& species, const std::string& wavelength9,
                       const std::string& width7, const std::string& code3,
                       const std::string& tail7 = "  src01",
                       const std::string& middle30 = kWdtMiddle30);

}  // namespace test_support

// Input files for the fault tests: a line table, a star's measurements, gf
// files, a model, and a stand-in for "width" that only moves a prepared
// result file into place (so that it writes no data itself).
#pragma once

#include <string>

namespace faults {

// "params.dat" with 330 lines numbered 1 to 330 at 4000, 4010, ... Å.
std::string params_text();

// One 80-column ".wdt" measurement record of line i (0-based) with the given
// width; columns 16 to 45 may carry a text of the caller's (30 characters).
std::string wdt_record(int line, double width, const std::string& middle30 = "");

// A ".wdt" with `lines` lines of `per_line` measurements each; the widths of
// line i are 10 + i mÅ (so a threshold splits the lines by number).
std::string wdt_text(int lines, int per_line);

// An ".abd" record: line number, species, excitation, width, abundances.
std::string abd_record(int line, const std::string& species, double width, double abundance);

// A gf file (GF0500.10, 490 to 500 nm) with n Fe I lines.
std::string gf_text(int n);

// A small model file.
std::string model_text();

// A "ewtemp.csv" with n result records, every equivalent width 50 mÅ.
std::string results_text(int n);

// Writes the "width" stand-in into dir/bin: it renames "ready.csv" to
// "ewtemp.csv" in the working directory. Returns the bin directory.
std::string install_moving_width(const std::string& dir);

}  // namespace faults

// What "wavepick --help" prints.
#pragma once

#include <string_view>

namespace wavepick {

inline constexpr std::string_view kUsageText =
    R"(Usage: wavepick W1 W2 CODE MODEL XI ABUND EWMIN OUTPUT
       wavepick --help | --version

Picks the lines of species CODE (26.00 Fe I, 26.01 Fe II) from W1 to W2
(angstrom) in the line list $VELKO/kbgfdos, makes sure the model atmosphere
file MODEL exists (a missing one named like t05750g444x+020m0 is made by
$VELKO/exefiles/tolmar, vessik and quorra), runs "width" (found through PATH)
with microturbulence XI and abundance ABUND, and writes the lines whose
equivalent width is at least EWMIN (mA) to the file OUTPUT.
Working files in the current directory: lines.tmp, winput.in, widfiles.lst,
ewtemp.csv.
Example: wavepick 5000 5050 26.00 t05750g444x+020m0 1.2 7.50 10.0 fe1.sel
A second run in the same directory waits for the first to end.
Exit status: 0 normal end, 1 a stop for a failure (also a "width" that could
not start, failed or wrote no ewtemp.csv: OUTPUT is then left as it was),
2 a file that could not be opened, read or written, or an argument that is
not a number.
See wavepick(1).
)";

}  // namespace wavepick

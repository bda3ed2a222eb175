// The eight command-line arguments of wavepick, decoded once at start-up and
// only read afterwards by the three stages.
#pragma once

#include <cstddef>
#include <string>

namespace wavepick {

inline constexpr std::size_t kArgumentLength = 80;  // each argument's buffer
inline constexpr std::size_t kNameLength = 60;      // fnmodel and fnoutput

struct RunParameters {
  double w1 = 0.0;     // lower end of the wavelength range, angstrom
  double w2 = 0.0;     // upper end of the wavelength range, angstrom
  double cod = 0.0;    // species code of the wanted lines (26.00 is Fe I)
  std::string fnmodel = std::string(kNameLength, ' ');   // model-atmosphere file
  double xi = 0.0;     // microturbulence handed to "width"
  double abund = 0.0;  // abundance handed to "width"
  double ewmin = 0.0;  // smallest equivalent width that selects a line, mA
  std::string fnoutput = std::string(kNameLength, ' ');  // result file
};

// Without any argument (argc 1) the first read fails: writes the usage on
// standard error first, so that the report follows how to call the program.
void show_usage_without_arguments(int argc);

// Decodes the arguments (velko::set_arguments must have been called). A
// numeric argument that is absent or not a number ends the program with the
// record layer's report for its free-format read.
RunParameters decode_run_parameters();

// The seven echo records on the console (ewmin is not echoed).
void echo_run_parameters(const RunParameters& parameters);

}  // namespace wavepick

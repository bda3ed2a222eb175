// Helpers shared by the stand-ins of the suite's programs. The stand-ins are
// not part of wavepick: they exist so that wavepick can be run and tested on a
// machine without the suite. They exchange two small work files:
//
//   tolmar T g x     writes "tolmar.dat": the grey temperature structure
//   vessik m         writes "vessik.dat": the convection switch m
//   quorra T g x m   reads both, writes the model file named after its
//                    arguments (t05750g444x+020m0), removes the work files
//
// With VELKO_STANDIN_FAIL=1 in the environment quorra writes no model and
// ends with status 1, as a failing model run would.
#pragma once

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace standin {

inline constexpr const char* kTemperatureFile = "tolmar.dat";
inline constexpr const char* kConvectionFile = "vessik.dat";

inline bool failure_requested() {
  const char* value = std::getenv("VELKO_STANDIN_FAIL");
  return value != nullptr && std::strcmp(value, "1") == 0;
}

// A number argument; ends the program with a usage message when it is not one.
inline double number_argument(const char* program, const char* text) {
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text || *end != '\0') {
    std::cerr << program << ": not a number: \"" << text << "\"\n";
    std::exit(2);
  }
  return value;
}

// The text without its decimal point: "4.44" gives "444", "+0.20" gives "+020".
inline std::string without_point(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c != '.') out += c;
  }
  return out;
}

}  // namespace standin

// Helpers shared by the stand-ins of the suite's programs. The stand-ins are
// not part of wavepick: they exist so that wavepick can be run and tested on a
// machine without the suite. They exchange two small work files:
//
//   tolmar T g x     writes "tolmar.dat": the grey temperature structure
//   vessik m         writes "vessik.dat": the convection switch m
//   quorra T g x m   reads both, writes the model file named after its
//                    arguments (t05750g444x+020m0), removes the work files
//
// Switches in the environment make a stand-in fail as a real program can, for
// the tests of the program that runs it. Each holds a comma-separated list of
// program names (tolmar, vessik, quorra, width):
//
//   VELKO_STANDIN_FAIL       writes nothing and ends with status 1
//                            ("1" alone stands for quorra)
//   VELKO_STANDIN_NO_OUTPUT  writes nothing and ends with status 0
//   VELKO_STANDIN_KILL       ends itself by SIGKILL; width does so after it
//                            has written its result records (see width.cpp)
#pragma once

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>

namespace standin {

inline constexpr const char* kTemperatureFile = "tolmar.dat";
inline constexpr const char* kConvectionFile = "vessik.dat";

// True when the switch variable names this program.
inline bool switched_on(const char* variable, std::string_view program) {
  const char* value = std::getenv(variable);
  if (value == nullptr) return false;
  const std::string_view list(value);
  if (list == "1") return std::string_view(variable) == "VELKO_STANDIN_FAIL" && program == "quorra";
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(',', start);
    if (end == std::string_view::npos) end = list.size();
    if (list.substr(start, end - start) == program) return true;
    start = end + 1;
  }
  return false;
}

[[noreturn]] inline void kill_self() {
  std::raise(SIGKILL);
  std::abort();
}

// The switches that end a program before it writes anything; kill only when
// kill_now (width kills itself later).
inline void end_if_switched(std::string_view program, bool kill_now = true) {
  if (switched_on("VELKO_STANDIN_FAIL", program)) {
    std::cerr << program << ": VELKO_STANDIN_FAIL, nothing written\n";
    std::exit(1);
  }
  if (switched_on("VELKO_STANDIN_NO_OUTPUT", program)) std::exit(0);
  if (kill_now && switched_on("VELKO_STANDIN_KILL", program)) kill_self();
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

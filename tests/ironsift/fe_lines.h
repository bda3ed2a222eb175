// Fe lines for tests of the tables, the plots and the statistics: added to the
// tables by hand (line numbers 101, 102, ... for Fe I and 201, 202, ... for
// Fe II), or as ".abd" records to be loaded.
#pragma once

#include <cstdio>
#include <string>

#include "ironsift_state.h"

namespace ironsift_test {

// Appends one line to a table, numbered first_number + its position (from 1).
template <int Capacity>
void add_line(ironsift::FeLineTable<Capacity>& table, int first_number, float width,
              float abundance, int flag, float excitation) {
  auto& line = table.lines[static_cast<std::size_t>(table.count++)];
  line.line_number = first_number + table.count;
  line.width = width;
  line.excitation = excitation;
  line.abundance = abundance;
  line.use_flag = flag;
}

inline void add_fe1(ironsift::FeTables& t, float width, float abundance, int flag = 1,
                    float excitation = 2.0f) {
  add_line(t.fe1, 100, width, abundance, flag, excitation);
}

inline void add_fe2(ironsift::FeTables& t, float width, float abundance, int flag = 2,
                    float excitation = 3.0f) {
  add_line(t.fe2, 200, width, abundance, flag, excitation);
}

// An ".abd" data record: line number, species, wavelength, excitation,
// log gf, width, Fe I abundance, Fe II abundance.
inline std::string abd(int line, const char* species, double chi, double width, double a1, double a2) {
  char text[100];
  std::snprintf(text, sizeof text, "%4d %s  4500.000  %4.2f -1.000  %6.1f  %5.3f  %5.3f", line,
                species, chi, width, a1, a2);
  return text;
}

}  // namespace ironsift_test

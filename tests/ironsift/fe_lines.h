// Fe lines added to the tables by hand, for tests of the plots and the
// statistics: line numbers 101, 102, ... for Fe I and 201, 202, ... for Fe II.
#pragma once

#include "ironsift_state.h"

namespace ironsift_test {

inline void add_fe1(ironsift::FeTables& t, float width, float abundance, int flag = 1,
                    float excitation = 2.0f) {
  auto& line = t.fe1.lines[static_cast<std::size_t>(t.fe1.count++)];
  line.line_number = 100 + t.fe1.count;
  line.width = width;
  line.excitation = excitation;
  line.abundance = abundance;
  line.use_flag = flag;
}

inline void add_fe2(ironsift::FeTables& t, float width, float abundance, int flag = 2,
                    float excitation = 3.0f) {
  auto& line = t.fe2.lines[static_cast<std::size_t>(t.fe2.count++)];
  line.line_number = 200 + t.fe2.count;
  line.width = width;
  line.excitation = excitation;
  line.abundance = abundance;
  line.use_flag = flag;
}

}  // namespace ironsift_test

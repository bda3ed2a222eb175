// A fixed line table for the ironsift targets: 330 lines, line numbers
// 101, 104, ..., wavelengths 4000.000, 4010.000, ... Å, so that seed records
// can name real lines.
#pragma once

#include "ironsift_state.h"

namespace fuzz {

inline void fill_line_table(ironsift::IronsiftState& state) {
  for (int i = 0; i < ironsift::kLineTableSize; ++i) {
    ironsift::LineTableEntry& entry = state.line_table[static_cast<std::size_t>(i)];
    entry.line_number = 101 + 3 * i;
    entry.wavelength = 4000.0 + 10.0 * i;
  }
}

}  // namespace fuzz

// The star's equivalent-width measurements (".wdt"), matched to the line
// table, and the mean width of every line.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "ironsift_state.h"

namespace ironsift {

inline constexpr int kMeasurementsPerLine = 10;

struct Measurement {
  float width = 0.0f;                                 // mÅ
  std::string code = std::string(3, ' ');             // columns 60, 70, 71
  std::string record = std::string(kRecordTextLength, ' ');  // the record as read
};

struct MeasurementSlot {
  int count = 0;
  std::array<Measurement, kMeasurementsPerLine> measurements{};
  // Mean of the widths above 0; 0 when the slot has none.
  float mean = 0.0f;
  // True when at least one width is above 0. A line measured only with widths
  // of 0 or below has no mean.
  bool has_positive_width = false;
};

// The pieces of a line's first measurement record that the threshold listing
// and records O1/D1 copy: characters 1 to 21, 22 to 27 and 53 to 59 (the text
// after the width). Views into the slot, blank when it has no measurement.
struct CopiedPieces {
  std::string_view start;   // characters 1 to 21
  std::string_view middle;  // characters 22 to 27
  std::string_view tail;    // characters 53 to 59
};
CopiedPieces copied_pieces(const MeasurementSlot& slot);

// One slot per line-table entry, same index.
using MeasurementTable = std::array<MeasurementSlot, kLineTableSize>;

// True when characters 2 to 6 of the record are "26.00" or "26.01".
bool is_measurement_record(std::string_view record);

// Index of the first line-table entry whose wavelength lies closer than 0.02
// (the single-precision value, so a difference of exactly 0.020 does not
// match) to the given wavelength; -1 when none does.
int find_table_line(const IronsiftState& state, double wavelength);

// Reads the file into a fresh table: every measurement record matched to a
// line goes to that line's slot in file order. A missing file is created
// empty and gives no measurements, with a warning saying so. More than ten measurements of one line:
// the extra ones are ignored with a warning naming the line and the file.
// Reading ends after 99999 records, with a warning when more follow.
void load_measurements(const IronsiftState& state, const std::string& file_name,
                       MeasurementTable& table);

// Mean of every slot: the widths above 0 averaged, the others left out.
void compute_means(MeasurementTable& table);

}  // namespace ironsift

// The star's Fe I and Fe II line tables, loaded from its abundance results
// (".abd"), and the plot frame worked out from them.
#pragma once

#include <string>

#include "ironsift_state.h"
#include "record_reader.h"

namespace ironsift {

// Running extremes gathered while loading: widths over every data record of
// any species, abundances over the Fe I and Fe II lines only.
struct RangeTrackers {
  float width_min = 1.0e30f;
  float width_max = -1.0e30f;
  float abundance_min = 1.0e30f;
  float abundance_max = -1.0e30f;
};

// At most this many records are read from an ".abd", comments included.
inline constexpr int kAbundanceRecordLimit = 999;

enum class FeLoadStatus {
  Loaded,           // at least one Fe I or Fe II line
  NoFeLines,        // no Fe I or Fe II data record: the frame has no limits
  Fe1TableFull,     // a further Fe I record than the table holds
  Fe2TableFull,     // a further Fe II record than the table holds
  TooManyRecords,   // an Fe I or Fe II data record after the 999th
  LoadedFirst999,   // as Loaded, from the first 999 records; the rest hold no Fe line
};

// Reads the records of an opened ".abd" into the tables: Fe I flags start at
// 1, Fe II flags at 2; species 26.00 and 26.01 are compared as 32-bit reals.
// Stops reading at the first record that does not fit the tables, so nothing
// is written past their ends. Records after the 999th are only looked at: an
// Fe I or Fe II data record among them (its first two values read as a line
// number and species 26.00 or 26.01) refuses the file, since the update would
// drop that line from the star's line list; anything else there is not read.
FeLoadStatus read_fe_tables(velko::RecordReader& reader, FeTables& tables,
                            RangeTrackers& ranges);

// Loads the star's ".abd" into state.fe and returns the ranges. Writes
// "H: why not exist ? --> <star>.abd" and stops when the file is missing;
// stops with a message naming the file when it holds no Fe line, more Fe
// lines than the tables hold, or an Fe line after the 999th record (status 1).
// Warns when records after the 999th were not read.
RangeTrackers load_star_fe_tables(IronsiftState& state);

// The star's ".abd" file name: the trimmed star name followed by ".abd".
std::string star_abundance_file_name(const IronsiftState& state);

// The plot frame for run mode 'w' (abundance against equivalent width) or 'c'
// (against excitation potential): the width axis over whole multiples of 50
// mA, the excitation axis 0 to 5 eV, the abundance axis over halves, with the
// upper limits one step above the truncated maxima (truncation toward zero).
PlotFrame plot_frame(const RangeTrackers& ranges, char run_mode);

// True when all four limits are finite numbers (huge values in the file can
// push a limit past the range of a 32-bit real).
bool frame_is_finite(const PlotFrame& frame);

}  // namespace ironsift

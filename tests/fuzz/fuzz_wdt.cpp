// Fuzzes the reading of a star's equivalent-width results (".wdt"): the
// measurement-record test, the fixed-column decode, the match against the
// line table, ten measurements per line, and the means.
#include <cmath>
#include <cstdint>

#include "fuzz_line_table.h"
#include "fuzz_program.h"
#include "threshold_screening.h"
#include "wdt_measurements.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::set_up_program_run(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::InScratch in_scratch;
  fuzz::write_input_file("STAR.wdt", data, size);
  static ironsift::IronsiftState state;
  static ironsift::MeasurementTable table;
  static bool table_filled = false;
  if (!table_filled) {
    fuzz::fill_line_table(state);
    table_filled = true;
  }
  const bool loaded =
      fuzz::run_program_code([&] { ironsift::load_measurements(state, "STAR.wdt", table); });
  if (!loaded) return 0;
  ironsift::compute_means(table);
  for (std::size_t i = 0; i < table.size(); ++i) {
    const ironsift::MeasurementSlot& slot = table[i];
    if (slot.count < 0 || slot.count > ironsift::kMeasurementsPerLine) __builtin_trap();
    for (int k = 0; k < slot.count; ++k) {
      const ironsift::Measurement& m = slot.measurements[static_cast<std::size_t>(k)];
      if (m.code.size() != 3 || m.record.size() != ironsift::kRecordTextLength) __builtin_trap();
    }
    (void)ironsift::judge_line(slot, state.line_table[i].line_number, 50.0f,
                               state.reference_abundances);
  }
  return 0;
}

// Fuzzes the console answers of run mode "i": the threshold line and the
// keys of the update question, through the program's own dialogue code, on a
// measurement table of a few lines (one with more widths than one listing
// record shows).
#include <cstdint>
#include <string>

#include "fuzz_line_table.h"
#include "fuzz_program.h"
#include "line_list_update.h"
#include "startup.h"
#include "texts.h"
#include "threshold_screening.h"
#include "wdt_measurements.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::set_up_program_run(argc, argv);
  return 0;
}

namespace {

void fill_measurements(ironsift::MeasurementTable& table) {
  const float widths[] = {12.5f, 48.0f, -5.0f, 0.0f, 150.25f, 99999.9f, 7.0f};
  for (std::size_t i = 0; i < 7; ++i) {
    ironsift::MeasurementSlot& slot = table[i * 3];
    slot.count = static_cast<int>(i) + 1 + (i == 6 ? 3 : 0);  // the last line has ten
    for (int k = 0; k < slot.count; ++k) {
      ironsift::Measurement& m = slot.measurements[static_cast<std::size_t>(k)];
      m.width = widths[(i + static_cast<std::size_t>(k)) % 7];
      m.code = "abc";
      m.record = std::string(" 26.00 4000.000 sample record") + std::string(51, '.');
    }
  }
  ironsift::compute_means(table);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::InScratch in_scratch;
  static ironsift::IronsiftState state;
  static ironsift::MeasurementTable table;
  static bool filled = false;
  if (!filled) {
    fuzz::fill_line_table(state);
    ironsift::split_names("STAR/REF", state);
    fill_measurements(table);
    filled = true;
  }
  fuzz::set_console_input(data, size);
  // Each pass: the threshold answer, the listing, the update key. "r" asks
  // again; the program's end at the end of input stops the loop.
  fuzz::run_program_code([&] {
    for (;;) {
      const ironsift::ScreeningResult result = ironsift::screen_once(state, table);
      if (result.rejected < 0 || result.rejected > ironsift::kLineTableSize) __builtin_trap();
      const char key = ironsift::ask_update_key(ironsift::threshold_list_name(state),
                                                ironsift::texts::kKeyPromptThresholdLayout);
      if (key != 'r' && key != 'g' && key != 'x') __builtin_trap();
      if (key != 'r') return;
    }
  });
  return 0;
}

// Fuzzes the reading of a reference star's abundance results (".abd"):
// comments, the eight values of each data record, line numbers outside the
// table, the limit of 999 records.
#include <cstdint>

#include "fuzz_program.h"
#include "ironsift_state.h"
#include "startup.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::set_up_program_run(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::InScratch in_scratch;
  fuzz::write_input_file("REF.abd", data, size);
  static ironsift::IronsiftState state;
  state.reference_abundances = ironsift::ReferenceAbundances{};
  ironsift::split_names("STAR/REF", state);
  const bool loaded = fuzz::run_program_code([&] { ironsift::load_reference_abundances(state); });
  const ironsift::ReferenceAbundances& reference = state.reference_abundances;
  if (loaded) {
    if (!reference.exists) __builtin_trap();
    if (reference.record_count < 0 || reference.record_count > 999) __builtin_trap();
    if (reference.values.size() != static_cast<std::size_t>(ironsift::kReferenceSize)) {
      __builtin_trap();
    }
  }
  // Lookups outside the table stay defined.
  (void)reference.value(0);
  (void)reference.value(-2147483647 - 1);
  (void)reference.value(2147483647);
  return 0;
}

// Fuzzes the reading of "params.dat": the four parameters, the line count and
// the 330 line records, through ironsift's own start-up code.
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
  fuzz::write_input_file("params.dat", data, size);
  static ironsift::IronsiftState state;
  const bool loaded = fuzz::run_program_code([&] { ironsift::load_line_table("params.dat", state); });
  // A table that loads holds exactly the 330 lines of the file; there is no
  // room for more, so a count other than 330 must have stopped the run.
  if (loaded && state.line_table.size() != static_cast<std::size_t>(ironsift::kLineTableSize)) {
    __builtin_trap();
  }
  return 0;
}

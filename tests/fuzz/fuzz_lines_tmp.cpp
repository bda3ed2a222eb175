// Fuzzes the reading of "lines.tmp" by the equivalent-width run, and the
// "winput.in" records made from what it read.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_program.h"
#include "run_parameters.h"
#include "width_run.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::set_up_program_run(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::InScratch in_scratch;
  fuzz::write_input_file("lines.tmp", data, size);
  std::vector<std::string> lines;
  if (!fuzz::run_program_code([&] { lines = wavepick::read_line_table(); })) return 0;
  if (lines.size() > wavepick::kMaxLines) __builtin_trap();
  wavepick::RunParameters parameters;
  parameters.xi = 1.5;
  parameters.abund = 7.5;
  const std::vector<std::string> records =
      wavepick::width_input_records(parameters, lines, {});
  // The line records are handed over at their full 80 characters.
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (records[5 + i].size() != wavepick::kRecordTextLength) __builtin_trap();
  }
  return 0;
}

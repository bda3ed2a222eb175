// Fuzzes the reading of the gf line records: the input is one gf file of the
// line list, read by the line-set stage itself (classification, fixed-column
// decode, selection, the "lines.tmp" record), and each of its records is also
// decoded on its own to check what a decoded line gives.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz_input.h"
#include "fuzz_program.h"
#include "line_set.h"
#include "run_parameters.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::set_up_program_run(argc, argv);
  std::filesystem::create_directory(fuzz::scratch_path() + "/kbgfdos");
  ::setenv("VELKO", fuzz::scratch_path().c_str(), 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::InScratch in_scratch;
  // GF0500.10 holds 490 to 500 nm; the range takes all of it, for Fe I.
  fuzz::write_input_file("kbgfdos/GF0500.10", data, size);
  wavepick::RunParameters parameters;
  parameters.w1 = 4900.0;
  parameters.w2 = 5000.0;
  parameters.cod = 26.00;
  fuzz::run_program_code([&] { wavepick::LINESET(parameters); });

  for (const std::string& record : fuzz_records(data, size)) {
    wavepick::GfLine line;
    if (wavepick::decode_gf_record(record, line) != wavepick::GfRecordKind::Line) continue;
    // Every decoded line gives a record of 52 characters, whatever its values.
    if (wavepick::line_record(line).size() != 52) __builtin_trap();
    (void)wavepick::line_selected(line, 490.0, 500.0, line.species);
  }
  return 0;
}

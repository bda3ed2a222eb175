// Fuzzes the reading of "ewtemp.csv", the results of "width": 13 free-format
// values per result, completed from following records when short, and the
// result records written for the selected lines.
#include <cstdint>
#include <string>

#include "fuzz_program.h"
#include "lablen.h"
#include "record_reader.h"
#include "record_writer.h"
#include "run_parameters.h"
#include "width_run.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::set_up_program_run(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::InScratch in_scratch;
  fuzz::write_input_file("ewtemp.csv", data, size);
  wavepick::RunParameters parameters;
  parameters.ewmin = size > 0 ? static_cast<double>(data[0] % 64) : 0.0;
  parameters.fnmodel = velko::fixed_text("t05750g444x+020m0", wavepick::kNameLength);
  parameters.fnoutput = velko::fixed_text("selected.out", wavepick::kNameLength);
  fuzz::run_program_code([&] {
    velko::RecordReader results = velko::RecordReader::open_file("ewtemp.csv", 16, false);
    // Not closed: the writer discards what it wrote when it goes out of scope.
    velko::RecordWriter output("selected.out", 17);
    const std::int32_t nselect = wavepick::select_results(results, output, parameters);
    if (nselect < 0 || nselect != output.records_written()) __builtin_trap();
  });
  return 0;
}

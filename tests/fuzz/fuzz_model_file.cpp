// Fuzzes the reading of the model-atmosphere file by the equivalent-width run
// (at most 300 records, each handed over as 80 characters), and the grid-name
// check of the model set-up on the input's first record.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "fuzz_program.h"
#include "lablen.h"
#include "model_set.h"
#include "run_parameters.h"
#include "width_run.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::set_up_program_run(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::InScratch in_scratch;
  fuzz::write_input_file("model.dat", data, size);
  std::vector<std::string> model;
  if (fuzz::run_program_code([&] { model = wavepick::read_model_table("model.dat"); })) {
    if (model.size() > wavepick::kMaxModelRecords) __builtin_trap();
    for (const std::string& record : model) {
      if (record.size() != wavepick::kRecordTextLength) __builtin_trap();
    }
  }
  // The first record as a model name (60 characters, as argument 4 arrives).
  const std::string fnmodel = velko::fixed_text(fuzz_records(data, size)[0], wavepick::kNameLength);
  wavepick::ModelName name;
  if (wavepick::parse_model_name(fnmodel, name)) {
    if (wavepick::model_parameters_supported(name)) {
      if (name.idumt < 3500 || name.idumt > 50000 || name.idumg < 0 || name.idumg > 500 ||
          name.idumx < -500 || name.idumx > 100 || (name.idumm != 0 && name.idumm != 1)) {
        __builtin_trap();
      }
      (void)wavepick::model_program_runs(name, "/suite/exefiles");
    }
  }
  return 0;
}

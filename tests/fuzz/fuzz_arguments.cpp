// Fuzzes wavepick's eight command-line arguments (one per input record):
// the free-format reads of the numbers, the 60-character names and the echo.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "fuzz_program.h"
#include "process_env.h"
#include "run_parameters.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::set_up_program_run(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::InScratch in_scratch;
  std::vector<std::string> arguments = fuzz_records(data, size);
  if (arguments.size() > 9) arguments.resize(9);
  std::vector<char*> argv = {const_cast<char*>("wavepick")};
  // An argument holds no NUL byte: it ends there, as it would in argv.
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  velko::set_arguments(static_cast<int>(argv.size() - 1), argv.data());
  fuzz::run_program_code([&] {
    const wavepick::RunParameters parameters = wavepick::decode_run_parameters();
    if (parameters.fnmodel.size() != wavepick::kNameLength ||
        parameters.fnoutput.size() != wavepick::kNameLength) {
      __builtin_trap();
    }
    wavepick::echo_run_parameters(parameters);
  });
  return 0;
}

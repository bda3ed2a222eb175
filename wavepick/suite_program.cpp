#include "suite_program.h"

#include <cstring>

#include "diagnostics.h"

namespace wavepick {

std::string run_failure(std::string_view shown_as, const velko::RunResult& result) {
  const std::string name = "\"" + std::string(shown_as) + "\"";
  if (!result.started) {
    return "could not start " + name + ": " + std::strerror(result.start_error);
  }
  if (!result.exited) {
    const char* description = strsignal(result.signal);
    return name + " was ended by signal " + std::to_string(result.signal) + " (" +
           (description ? description : "unknown signal") + ")";
  }
  if (result.exit_status != 0) {
    return name + " ended with exit status " + std::to_string(result.exit_status);
  }
  return {};
}

bool run_suite_program(const std::string& program, const std::vector<std::string>& arguments,
                       std::string_view shown_as) {
  const std::string failure = run_failure(shown_as, velko::run_program(program, arguments));
  if (!failure.empty()) tell(failure);
  return failure.empty();
}

}  // namespace wavepick
